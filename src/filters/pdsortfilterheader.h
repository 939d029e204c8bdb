#ifndef PDSORTFILTERHEADER_H
#define PDSORTFILTERHEADER_H

#include <QHeaderView>
#include <QPointer>

class PdSortFilterWidget;

// A horizontal header that records which columns are filtered and which one is sorted, reports
// presses so the auto-filter can open, and lets the sort/filter controller decorate its sections.
class PdSortFilterHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit PdSortFilterHeader(Qt::Orientation orientation, QWidget* parent = nullptr);

    void addFilter(int column);
    void removeFilter(int column);
    void clearFilters();
    bool hasFilters() const { return !m_filtered.isEmpty(); }
    QList<int> filteredColumns() const { return m_filtered; }

    void setSort(int column, int order);
    int sortColumn() const { return m_sortColumn; }
    int sortOrder() const { return m_sortOrder; }

    void setSortFilterWidget(PdSortFilterWidget* widget);
    PdSortFilterWidget* sortFilterWidget() const;

    // The section rectangle the popup and the decorations use: the section's place in the
    // viewport, the full header height.
    QRect sectionRect(int logicalIndex) const;

    QSize sizeHint() const override;

signals:
    void popUp(const QRect& rect, int section, const QPoint& pos);
    void filterSettingsChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QList<int> m_filtered;
    int m_sortColumn = -1;
    int m_sortOrder = 0;
    QPointer<PdSortFilterWidget> m_widget;
};

#endif // PDSORTFILTERHEADER_H
