#pragma once

#include "pdmodelutils.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPair>
#include <QTreeView>
#include <QVariantMap>
#include <QVector>

// The activity tree: group rows are coloured bands whose text spans the first
// columns, each grouping level with its own background, font and text colour,
// and the indentation of every row carries a strip per level above it.
class PdGroupedTreeView : public QTreeView
{
    Q_OBJECT
public:
    struct LevelStyle
    {
        QBrush background;
        QFont font;
        QColor textColor;
        bool operator==(const LevelStyle &other) const
        {
            return background == other.background && font == other.font && textColor == other.textColor;
        }
    };
    // Header cell images (one per visible column) and body cell images (one
    // list per shown row).
    using Images = QPair<QVector<QImage>, PdCellImages>;

    explicit PdGroupedTreeView(QWidget *parent = nullptr);
    ~PdGroupedTreeView() override;

    // Used for levels past the end of the list: no background, bold text.
    static LevelStyle defaultLevelStyle();

    void setLevelStyles(const QVector<LevelStyle> &styles);
    const QVector<LevelStyle> &levelStyles() const { return m_levelStyles; }
    LevelStyle styleForLevel(int level) const;
    // The colour a group row's text is painted in: the level's own, or black
    // or white, whichever reads on its background.
    QColor textColorForLevel(int level) const;

    void setGroupColumn(int column);
    int groupColumn() const { return m_groupColumn; }
    void setMergeColumns(int count);
    int mergeColumns() const { return m_mergeColumns; }

    bool isGroupRow(const QModelIndex &index) const;
    // A group row's level is its depth; an activity's is its group's.
    int levelOf(const QModelIndex &index) const;
    // Rows shown when every expanded row's children are counted.
    int shownRowCount() const;

    // Print painting, straight onto any painter for only the rows and the
    // horizontal stretch asked for, in sheet coordinates: x from the left of
    // the first shown column, y from the top of the first shown row. The
    // view's size, scroll bars, selection and current row stay as they are,
    // and no widget or image grows with the schedule.
    int printRowHeight() const;
    int printWidth() const;
    // The shown row at a place in the whole expanded tree, or invalid.
    QModelIndex shownRowAt(int row) const;
    void paintHeaderForPrint(QPainter *painter, int left, int right, int height) const;
    void paintRowsForPrint(QPainter *painter, int firstRow, int count, int left, int right) const;

    QVariantMap prepareForRender();
    void restoreAfterRender(const QVariantMap &state);
    Images renderToImages();

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const override;

private:
    int treeColumn() const;
    QVector<int> mergedColumns() const;
    int visualRowAt(int y, int rowHeight) const;

    // Set while paintRowsForPrint() runs: rows are placed in sheet
    // coordinates and painted without selection, focus or hover.
    struct PrintPass
    {
        bool active = false;
        int left = 0;
        int right = 0;
    };
    mutable PrintPass m_print;
    QVector<LevelStyle> m_levelStyles;
    int m_mergeColumns = 2;
    int m_groupColumn = 0;
};
