#include "pdgroupedtreeview.h"

#include "pdgroupedtreeviewdelegate.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QtDebug>

#include <vector>

PdGroupedTreeView::PdGroupedTreeView(QWidget *parent)
    : QTreeView(parent)
{
    setIndentation(15);
    setItemDelegate(new PdGroupedTreeViewDelegate(this));
}

PdGroupedTreeView::~PdGroupedTreeView() = default;

PdGroupedTreeView::LevelStyle PdGroupedTreeView::defaultLevelStyle()
{
    LevelStyle style;
    style.font = QFont(QStringLiteral("MS Shell Dlg 2"));
    style.font.setWeight(QFont::Bold);
    return style;
}

void PdGroupedTreeView::setLevelStyles(const QVector<LevelStyle> &styles)
{
    if (styles != m_levelStyles)
        m_levelStyles = styles;
    viewport()->update();
}

PdGroupedTreeView::LevelStyle PdGroupedTreeView::styleForLevel(int level) const
{
    return level >= 0 && level < m_levelStyles.size() ? m_levelStyles.at(level) : defaultLevelStyle();
}

QColor PdGroupedTreeView::textColorForLevel(int level) const
{
    const LevelStyle style = styleForLevel(level);
    if (style.textColor.isValid())
        return style.textColor;
    if (style.background.style() == Qt::NoBrush)
        return palette().color(QPalette::Text);
    const QColor background = style.background.color();
    // Perceived brightness: light bands take black text, dark ones white.
    const int brightness = (background.red() * 299 + background.green() * 587 + background.blue() * 114) / 1000;
    return brightness >= 150 ? QColor(Qt::black) : QColor(Qt::white);
}

void PdGroupedTreeView::setGroupColumn(int column)
{
    auto *delegate = qobject_cast<PdGroupedTreeViewDelegate *>(itemDelegate());
    // -1 is accepted: a model without a group column has no group rows.
    if (!model() || column < -1 || column >= model()->columnCount() || !delegate)
        return;
    m_groupColumn = column;
    delegate->setGroupColumn(column);
    viewport()->update();
}

void PdGroupedTreeView::setMergeColumns(int count)
{
    if (count < 0 || count >= 3)
        return;
    m_mergeColumns = count;
    viewport()->update();
}

bool PdGroupedTreeView::isGroupRow(const QModelIndex &index) const
{
    return index.isValid() && m_groupColumn >= 0 && !index.siblingAtColumn(m_groupColumn).data().isNull();
}

int PdGroupedTreeView::levelOf(const QModelIndex &index) const
{
    const int depth = depthOf(index);
    return isGroupRow(index) ? depth : depth - 1;
}

int PdGroupedTreeView::shownRowCount() const
{
    const QAbstractItemModel *m = model();
    if (!m)
        return 0;
    int count = 0;
    std::vector<QModelIndex> pending{QModelIndex()};
    while (!pending.empty()) {
        const QModelIndex parent = pending.back();
        pending.pop_back();
        const int rows = m->rowCount(parent);
        count += rows;
        for (int r = 0; r < rows; ++r) {
            const QModelIndex child = m->index(r, 0, parent);
            if (isExpanded(child))
                pending.push_back(child);
        }
    }
    return count;
}

int PdGroupedTreeView::treeColumn() const
{
    const int position = treePosition();
    return position >= 0 ? position : header()->logicalIndex(0);
}

QVector<int> PdGroupedTreeView::mergedColumns() const
{
    // The tree column and the shown columns right after it; hidden sections
    // in between take no part.
    const QHeaderView *h = header();
    QVector<int> columns;
    const int tree = treeColumn();
    if (tree < 0 || h->isSectionHidden(tree))
        return columns;
    columns << tree;
    for (int visual = h->visualIndex(tree) + 1; visual < h->count() && columns.size() <= m_mergeColumns; ++visual) {
        const int logical = h->logicalIndex(visual);
        if (!h->isSectionHidden(logical))
            columns << logical;
    }
    return columns;
}

int PdGroupedTreeView::visualRowAt(int y, int rowHeight) const
{
    // With uniform heights a row's place in the whole shown tree follows from
    // its position, so alternation needs no list of the shown rows.
    return rowHeight > 0 ? (y + (m_print.active ? 0 : verticalOffset())) / rowHeight : 0;
}

void PdGroupedTreeView::drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const
{
    const int level = levelOf(index);
    const int indent = indentation();
    for (int i = 0; i <= level && indent > 0; ++i) {
        const QBrush brush = styleForLevel(i).background;
        if (brush.style() == Qt::NoBrush)
            continue;
        const int left = isRightToLeft() ? rect.right() + 1 - (i + 1) * indent : rect.left() + i * indent;
        painter->fillRect(QRect(left, rect.top(), indent, rect.height()).intersected(rect), brush);
    }
    if (!m_print.active) {
        QTreeView::drawBranches(painter, rect, index);
        return;
    }
    // The standard branch painting reads the row the tree is painting now,
    // which is not this one outside its own paint; print draws the row's own
    // indicator only.
    if (indent <= 0 || rect.width() < indent)
        return;
    QStyleOption opt;
    opt.initFrom(this);
    opt.rect = QRect(isRightToLeft() ? rect.left() : rect.right() + 1 - indent, rect.top(), indent, rect.height());
    opt.state = QStyle::State_Item | QStyle::State_Enabled;
    const QAbstractItemModel *m = index.model();
    if (index.row() + 1 < m->rowCount(index.parent()))
        opt.state |= QStyle::State_Sibling;
    if (m->hasChildren(index))
        opt.state |= QStyle::State_Children;
    if (isExpanded(index))
        opt.state |= QStyle::State_Open;
    style()->drawPrimitive(QStyle::PE_IndicatorBranch, &opt, painter, this);
}

void PdGroupedTreeView::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QAbstractItemModel *m = model();
    const QHeaderView *h = header();
    if (!m || !index.isValid())
        return;
    const QModelIndex parent = index.parent();
    const int y = option.rect.y();
    const int height = option.rect.height();
    const bool group = isGroupRow(index);
    const int depth = depthOf(index);
    const int level = group ? depth : depth - 1;
    const bool alternate = alternatingRowColors() && (visualRowAt(y, height) & 1);
    const QModelIndex current = m_print.active ? QModelIndex() : currentIndex();
    const bool viewHasFocus = !m_print.active && (hasFocus() || viewport()->hasFocus());
    const bool reverse = isRightToLeft();
    const int tree = treeColumn();
    const QVector<int> merged = group ? mergedColumns() : QVector<int>();
    const int viewLeft = m_print.active ? m_print.left : 0;
    const int viewRight = m_print.active ? m_print.right : viewport()->width();

    QStyleOptionViewItem base = option;
    if (group) {
        const LevelStyle style = styleForLevel(level);
        base.font = style.font;
        base.font.setPointSize(9);
        base.fontMetrics = QFontMetrics(base.font);
        base.palette.setBrush(QPalette::Text, textColorForLevel(level));
    }
    if (alternate)
        base.features |= QStyleOptionViewItem::Alternate;
    const QBrush rowBrush = base.palette.brush(alternate ? QPalette::AlternateBase : QPalette::Base);
    const QBrush groupBrush = group ? styleForLevel(level).background : QBrush();

    for (int visual = 0; visual < h->count(); ++visual) {
        const int column = h->logicalIndex(visual);
        if (h->isSectionHidden(column))
            continue;
        if (group && merged.contains(column) && column != merged.constFirst())
            continue;
        int left = m_print.active ? h->sectionPosition(column) : columnViewportPosition(column);
        int width = h->sectionSize(column);
        if (group && column == merged.constFirst()) {
            width = 0;
            for (int c : merged)
                width += h->sectionSize(c);
            if (reverse)
                left = left + h->sectionSize(column) - width;
        }
        if (left + width <= viewLeft || left >= viewRight)
            continue;
        const QModelIndex cell = m->index(index.row(), column, parent);
        if (!cell.isValid())
            continue;

        QStyleOptionViewItem opt = base;
        opt.state = option.state;
        if (!m_print.active && selectionModel() && selectionModel()->isSelected(cell))
            opt.state |= QStyle::State_Selected;
        if (viewHasFocus && current == cell)
            opt.state |= QStyle::State_HasFocus;
        if ((m->flags(cell) & Qt::ItemIsEnabled) == 0) {
            opt.state &= ~QStyle::State_Enabled;
            opt.palette.setCurrentColorGroup(QPalette::Disabled);
        } else {
            opt.palette.setCurrentColorGroup(opt.state & QStyle::State_Active ? QPalette::Active
                                                                                : QPalette::Inactive);
        }

        QRect content(left, y, width, height);
        if (column == tree) {
            const int branchWidth = qMin(width, indentation() * (depth + (rootIsDecorated() ? 1 : 0)));
            const QRect branches(reverse ? left + width - branchWidth : left, y, branchWidth, height);
            content = reverse ? QRect(left, y, width - branchWidth, height)
                              : QRect(left + branchWidth, y, width - branchWidth, height);
            if (branchWidth > 0) {
                painter->fillRect(branches, rowBrush);
                painter->save();
                painter->setClipRect(branches);
                drawBranches(painter, branches, index);
                painter->restore();
            }
        }
        painter->fillRect(content, rowBrush);
        if (groupBrush.style() != Qt::NoBrush)
            painter->fillRect(content, groupBrush);
        opt.rect = content;
        if (group && column == merged.value(0, -1))
            opt.version = PdGroupedTreeViewDelegate::MergedCellVersion;
        itemDelegate(cell)->paint(painter, opt, cell);
    }
}

int PdGroupedTreeView::printRowHeight() const
{
    const QModelIndex first = model() ? model()->index(0, 0) : QModelIndex();
    return first.isValid() ? rowHeight(first) : 0;
}

int PdGroupedTreeView::printWidth() const
{
    return header()->length();
}

QModelIndex PdGroupedTreeView::shownRowAt(int row) const
{
    const int rh = printRowHeight();
    if (row < 0 || rh <= 0)
        return QModelIndex();
    if (uniformRowHeights()) {
        // With uniform heights the tree finds a row from its place alone, so
        // a page far down costs no walk over the rows above it.
        for (int visual = 0; visual < header()->count(); ++visual) {
            const int logical = header()->logicalIndex(visual);
            if (header()->isSectionHidden(logical))
                continue;
            const QModelIndex hit = indexAt(QPoint(columnViewportPosition(logical), row * rh - verticalOffset()));
            return hit.isValid() ? hit.siblingAtColumn(0) : QModelIndex();
        }
    }
    QModelIndex index = model()->index(0, 0);
    for (int r = 0; r < row && index.isValid(); ++r)
        index = indexBelow(index);
    return index;
}

void PdGroupedTreeView::paintHeaderForPrint(QPainter *painter, int left, int right, int height) const
{
    const QHeaderView *h = header();
    const QAbstractItemModel *m = model();
    if (!m)
        return;
    for (int visual = 0; visual < h->count(); ++visual) {
        const int logical = h->logicalIndex(visual);
        const int pos = h->sectionPosition(logical);
        const int size = h->sectionSize(logical);
        if (h->isSectionHidden(logical) || pos + size <= left || pos >= right)
            continue;
        // Drawn by hand rather than by the header, whose filter and sort
        // buttons mean nothing on paper and which paints only what fits on
        // screen.
        QStyleOptionHeader opt;
        opt.initFrom(h);
        opt.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_Horizontal;
        opt.orientation = Qt::Horizontal;
        opt.rect = QRect(pos, 0, size, height);
        opt.section = logical;
        opt.text = m->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
        opt.textAlignment = h->defaultAlignment();
        opt.position = QStyleOptionHeader::Middle;
        painter->save();
        painter->setClipRect(opt.rect, Qt::IntersectClip);
        h->style()->drawControl(QStyle::CE_Header, &opt, painter, h);
        painter->restore();
    }
}

void PdGroupedTreeView::paintRowsForPrint(QPainter *painter, int firstRow, int count, int left, int right) const
{
    const int rh = printRowHeight();
    QModelIndex index = shownRowAt(firstRow);
    if (!index.isValid() || rh <= 0)
        return;
    m_print = PrintPass{true, left, right};
    QStyleOptionViewItem option = viewOptions();
    option.state = QStyle::State_Enabled | QStyle::State_Active;
    for (int r = 0; r < count && index.isValid(); ++r) {
        option.rect = QRect(0, (firstRow + r) * rh, header()->length(), rh);
        drawRow(painter, option, index);
        index = indexBelow(index);
    }
    m_print = PrintPass{};
}

QVariantMap PdGroupedTreeView::prepareForRender()
{
    QVariantMap state;
    clearSelection();
    // The policies are given back as they were: the activities view keeps its
    // horizontal bar always on so that the tree and the chart end level.
    state.insert(QStringLiteral("ver_policy"), int(verticalScrollBarPolicy()));
    state.insert(QStringLiteral("hor_policy"), int(horizontalScrollBarPolicy()));
    state.insert(QStringLiteral("ver_scroll_val"), verticalScrollBar()->value());
    verticalScrollBar()->setValue(0);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    state.insert(QStringLiteral("hor_scroll_val"), horizontalScrollBar()->value());
    horizontalScrollBar()->setValue(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int total = 0;
    for (int column = 0; column < header()->count(); ++column) {
        if (!header()->isSectionHidden(column))
            total += header()->sectionSize(column);
    }
    state.insert(QStringLiteral("width"), width());
    state.insert(QStringLiteral("height"), height());
    const QModelIndex first = model() ? model()->index(0, 0) : QModelIndex();
    const int rowPixels = first.isValid() ? rowHeight(first) : 0;
    header()->resize(total, header()->height());
    resize(total + 2 * frameWidth(), rowPixels * shownRowCount() + header()->height() + 2 * frameWidth());
    return state;
}

void PdGroupedTreeView::restoreAfterRender(const QVariantMap &state)
{
    header()->resize(state.value(QStringLiteral("width"), header()->width()).toInt(), header()->height());
    resize(state.value(QStringLiteral("width"), width()).toInt(), state.value(QStringLiteral("height"), height()).toInt());
    setVerticalScrollBarPolicy(
        Qt::ScrollBarPolicy(state.value(QStringLiteral("ver_policy"), int(Qt::ScrollBarAsNeeded)).toInt()));
    setHorizontalScrollBarPolicy(
        Qt::ScrollBarPolicy(state.value(QStringLiteral("hor_policy"), int(Qt::ScrollBarAsNeeded)).toInt()));
    verticalScrollBar()->setValue(state.value(QStringLiteral("ver_scroll_val")).toInt());
    horizontalScrollBar()->setValue(state.value(QStringLiteral("hor_scroll_val")).toInt());
}

PdGroupedTreeView::Images PdGroupedTreeView::renderToImages()
{
    Images images;
    if (!model())
        return images;
    const QHeaderView *h = header();
    QVector<int> widths;
    for (int visual = 0; visual < h->count(); ++visual) {
        const int column = h->logicalIndex(visual);
        if (!h->isSectionHidden(column))
            widths << h->sectionSize(column);
    }
    const int headerHeight = h->height();
    const QModelIndex first = model()->index(0, 0);
    const int rowPixels = first.isValid() ? rowHeight(first) : 0;
    const int rows = shownRowCount();
    const QVariantMap state = prepareForRender();
    images.first = renderToCellImages(header(), widths, headerHeight, 1, 0).value(0);
    if (rows > 0 && rowPixels > 0)
        images.second = renderToCellImages(this, widths, rowPixels, rows, headerHeight + frameWidth());
    restoreAfterRender(state);
    return images;
}
