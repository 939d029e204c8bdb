#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

class QAbstractItemModel;

// Paints the detail and resource tables: dates as "dd-MM-yyyy", P6
// enumerations without their prefix ("FS", not "PR_FS"), and optionally an
// icon at the left of one column.
class PdDetailDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Without a pixmap no column carries an icon.
    PdDetailDelegate(QObject *parent, int column, const QPixmap &pixmap);

    int iconColumn() const { return m_iconColumn; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

    // The text a cell shows: a date-time by its day, a P6 enumeration of a
    // known column without its prefix, anything else as its text.
    static QString cellText(const QModelIndex &index);
    // The prefix ("PR_", "RT_" ...) the values of a column carry when the
    // column, named by its field id, holds one of P6's enumerations; empty
    // otherwise, so a code such as "CN_100" elsewhere keeps its letters.
    static QString enumerationPrefix(const QAbstractItemModel *model, int column);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QPixmap m_pixmap;
    int m_iconColumn = -1;
};
