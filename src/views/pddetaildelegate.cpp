#include "pddetaildelegate.h"

#include "pdfiltervalue.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QLineEdit>
#include <QPainter>

namespace {

const QString DateFormat = QStringLiteral("dd-MM-yyyy");

QString dateText(const QVariant &value)
{
    // Only values that are dates: a text such as "2026" must stay a text.
    const int type = value.userType();
    if (type == QMetaType::QDateTime) {
        const QDateTime dateTime = value.toDateTime();
        return dateTime.isValid() ? dateTime.toString(DateFormat) : QString();
    }
    if (type == QMetaType::QDate) {
        const QDate date = value.toDate();
        return date.isValid() ? date.toString(DateFormat) : QString();
    }
    return value.toString();
}

} // namespace

PdDetailDelegate::PdDetailDelegate(QObject *parent, int column, const QPixmap &pixmap)
    : QStyledItemDelegate(parent)
    , m_pixmap(pixmap)
    , m_iconColumn(pixmap.isNull() ? -1 : column)
{
}

QString PdDetailDelegate::enumerationPrefix(const QAbstractItemModel *model, int column)
{
    // The rule the filter value lists follow, so a value reads the same in both.
    return PdFilterValue::prefixOfColumn(model, column);
}

QString PdDetailDelegate::cellText(const QModelIndex &index)
{
    QString text = dateText(index.data(Qt::DisplayRole));
    const QString prefix = enumerationPrefix(index.model(), index.column());
    if (!prefix.isEmpty() && text.startsWith(prefix))
        text.remove(0, prefix.size());
    return text;
}

void PdDetailDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // displayText() does not know the column, so the prefix is taken off here.
    const QString prefix = enumerationPrefix(index.model(), index.column());
    if (!prefix.isEmpty() && option->text.startsWith(prefix))
        option->text.remove(0, prefix.size());
}

void PdDetailDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (index.column() != m_iconColumn || m_iconColumn < 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRect cell = option.rect;
    const int side = qMin(cell.width(), cell.height());
    QStyleOptionViewItem rest(option);
    rest.rect = cell.adjusted(side, 0, 0, 0);
    QStyledItemDelegate::paint(painter, rest, index);
    painter->drawPixmap(QRect(cell.left(), cell.top(), side, side), m_pixmap);
}

QSize PdDetailDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() == 0)
        size.rwidth() += 32;
    // Room for the icon keeps the text of the icon column from being cut.
    // The icon is as wide as the row is high, and the tables' fixed rows
    // (22 pixels) are higher than a line of text asks for.
    if (index.column() == m_iconColumn && m_iconColumn > 0)
        size.rwidth() += qMax(size.height(), 24);
    return size;
}

QString PdDetailDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    const int type = value.userType();
    if (type == QMetaType::QDateTime || type == QMetaType::QDate)
        return dateText(value);
    return QStyledItemDelegate::displayText(value, locale);
}

void PdDetailDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor)) {
        lineEdit->setText(cellText(index));
        lineEdit->setCursorPosition(0);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}
