#include "pdsortfilterwidget.h"

#include "pddatefilter.h"
#include "pddoublefilter.h"
#include "pdexpression.h"
#include "pdfilterdialogproxymodel.h"
#include "pdintegerfilter.h"
#include "pdsortfilterheader.h"
#include "pdtextfilter.h"

#include <QCursor>
#include <QPainter>
#include <QTabWidget>

#include <memory>

namespace {

// Matches no cell, so a list with nothing checked keeps every row out instead of being dropped.
const char* const NoValue = "!_!_#\xc2\xa3@*'\xe2\x82\xac%&!_+?$\xc2\xa7";

} // namespace

PdSortFilterWidget::PdSortFilterWidget(PdSortFilterHeader* header, PdFilterDialogProxyModel* proxy,
                                       QAbstractItemModel* source, QWidget* parent)
    : QWidget(parent), m_header(header), m_proxy(proxy), m_source(source)
{
    setFixedSize(0, 0);
    hide();
}

int PdSortFilterWidget::sectionState(int column) const
{
    int state = 1;
    if (!m_proxy)
        return state;
    if (m_proxy->isColumnFiltered(column))
        state |= 2;
    if (m_proxy->sortColumn() == column && column >= 0)
        state |= m_proxy->sortOrder() == Qt::AscendingOrder ? 4 : 8;
    return state;
}

QRect PdSortFilterWidget::buttonRect(const QRect& section)
{
    return QRect(section.right() - 15, section.bottom() - 15, 15, 15);
}

void PdSortFilterWidget::paintSection(QPainter* painter, const QRect& rect, int column, const QPoint& cursor) const
{
    const int state = sectionState(column);
    const QRect button = buttonRect(rect);
    const bool hovered = button.contains(cursor);
    painter->save();
    if ((state & (2 | 4 | 8)) == 0) {
        if (rect.contains(cursor)) {
            painter->setPen(hovered ? QColor(186, 186, 186) : QColor(223, 223, 223));
            painter->setBrush(QColor(246, 246, 246));
            painter->drawRect(button);
            painter->setPen(hovered ? QColor(71, 71, 71) : QColor(193, 193, 193));
            const QPoint c = button.center();
            painter->drawLine(c.x() - 3, c.y() - 1, c.x() + 3, c.y() - 1);
            painter->drawLine(c.x() - 2, c.y(), c.x() + 2, c.y());
            painter->drawLine(c.x() - 1, c.y() + 1, c.x() + 1, c.y() + 1);
            painter->drawPoint(c.x(), c.y() + 2);
        }
    } else {
        QString icon;
        if (state & 2) {
            icon = QStringLiteral(":/images/filter_16.png");
            if (state & 4)
                icon = QStringLiteral(":/images/filter_up_16.png");
            if (state & 8)
                icon = QStringLiteral(":/images/filter_down_16.png");
        } else if (state & 4) {
            icon = QStringLiteral(":/images/arrow_up_16.png");
        } else {
            icon = QStringLiteral(":/images/arrow_down_16.png");
        }
        painter->setPen(QColor(186, 186, 186));
        painter->drawPixmap(button.topLeft(), QPixmap(icon));
        if (hovered)
            painter->drawRect(button);
    }
    painter->restore();
}

void PdSortFilterWidget::paintGroupSection(QPainter* painter, const QRect& rect, const QList<int>& columns) const
{
    if (!m_proxy)
        return;
    for (int column : columns) {
        if (m_proxy->isColumnFiltered(column)) {
            painter->save();
            painter->setPen(QColor(186, 186, 186));
            painter->drawPixmap(buttonRect(rect).topLeft(), QPixmap(QStringLiteral(":/images/filter_16.png")));
            painter->restore();
            return;
        }
    }
}

PdFilterDialogPopUp* PdSortFilterWidget::createPopUp(QAbstractItemModel* model, int column)
{
    switch (PdFilterValue::kindOfColumn(model, column)) {
    case PdValueKind::Integer:
        return new PdIntegerFilter(model, column);
    case PdValueKind::Double:
        return new PdDoubleFilter(model, column);
    case PdValueKind::Date:
        return new PdDateFilter(model, column);
    case PdValueKind::Text:
        break;
    }
    return new PdTextFilter(model, column);
}

void PdSortFilterWidget::onAutoFilterPopUp(const QRect& rect, int section, const QPoint& pos)
{
    if (!buttonRect(rect).contains(pos))
        return;
    runPopUp(section, QCursor::pos());
}

void PdSortFilterWidget::openPopUp(int section)
{
    if (!m_header || section < 0 || section >= m_header->count() || m_header->isSectionHidden(section))
        return;
    const QRect rect = m_header->sectionRect(section);
    runPopUp(section, m_header->viewport()->mapToGlobal(rect.bottomLeft()));
}

void PdSortFilterWidget::runPopUp(int section, const QPoint& globalPos)
{
    if (!m_header || !m_proxy || !m_source)
        return;
    // Values come from the rows the proxy filters, so a tree's group rows add none.
    QAbstractItemModel* values = m_proxy->sourceModel() ? m_proxy->sourceModel() : m_source.data();
    const std::unique_ptr<PdFilterDialogPopUp> popup(createPopUp(values, section));
    showProxyState(popup.get(), section);
    QAction* chosen = popup->exec(globalPos);
    // The menu's loop may have seen the project close; whatever it left behind is not touched.
    if (!m_header || !m_proxy)
        return;
    if (applyChoice(popup.get(), chosen, section))
        emit filtered();
}

void PdSortFilterWidget::showProxyState(PdFilterDialogPopUp* popup, int section) const
{
    if (m_proxy->hasPatternFilter(section))
        popup->showPatternFilter(m_proxy->patternFilter(section));
    if (const PdExpression* chain = m_proxy->expressionFilter(section)) {
        const PdExpression* partner = chain->andPartner() ? chain->andPartner() : chain->orPartner();
        popup->showExpression(chain->op(), chain->value(), partner ? partner->op() : QString(),
                              partner ? partner->value() : QVariant(), chain->andPartner() != nullptr);
        if (popup->hasExpressionTab())
            popup->tabs()->setCurrentIndex(1);
    }
    if (m_proxy->sortColumn() == section) {
        popup->sortAscendingAction()->setChecked(m_proxy->sortOrder() == Qt::AscendingOrder);
        popup->sortDescendingAction()->setChecked(m_proxy->sortOrder() == Qt::DescendingOrder);
    }
}

bool PdSortFilterWidget::applyChoice(PdFilterDialogPopUp* popup, QAction* chosen, int section)
{
    if (chosen == popup->sortAscendingAction() || chosen == popup->sortDescendingAction()) {
        const bool ascending = chosen == popup->sortAscendingAction();
        m_proxy->sort(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        m_header->setSort(section, ascending ? 0 : 1);
        return true;
    }
    if (chosen == popup->clearAction() || popup->isCleared()) {
        m_proxy->removeColumnFilters(section);
        m_header->removeFilter(section);
        m_proxy->sort(-1, Qt::AscendingOrder);
        m_header->setSort(-1, 0);
        return true;
    }
    if (!popup->isAccepted())
        return false;
    if (popup->isExpressionTabCurrent()) {
        std::unique_ptr<PdExpression> first = PdExpression::makeExpression(popup->firstOperator(), popup->firstValue());
        if (!first)
            return false;
        std::unique_ptr<PdExpression> second =
            PdExpression::makeExpression(popup->secondOperator(), popup->secondValue());
        if (second) {
            if (popup->isAnd())
                first->setAndPartner(std::move(second));
            else
                first->setOrPartner(std::move(second));
        }
        m_proxy->setExpressionFilter(section, std::move(first));
        m_header->addFilter(section);
        return true;
    }
    if (!popup->isNarrowed() && popup->isAllChecked()) {
        m_proxy->removeColumnFilters(section);
        m_header->removeFilter(section);
        return true;
    }
    QVariantList values;
    for (const QString& key : popup->checkedValues())
        values.append(key);
    if (values.isEmpty())
        values.append(QString::fromUtf8(NoValue));
    m_proxy->setPatternFilter(section, values);
    m_header->addFilter(section);
    return true;
}

void PdSortFilterWidget::clearAllFilters()
{
    if (!m_header || !m_proxy)
        return;
    if (m_header->sortColumn() >= 0 || m_proxy->sortColumn() >= 0) {
        m_proxy->sort(-1, Qt::AscendingOrder);
        m_header->setSort(-1, 0);
    }
    if (m_header->hasFilters() || m_proxy->hasFilters()) {
        m_proxy->clearFilters();
        m_header->clearFilters();
        emit filtered();
    }
}
