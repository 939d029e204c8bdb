#pragma once

#include <QVector>
#include <QWidget>

namespace mygc {

// Row geometry of the chart: the top and height of every row. It paints nothing.
class QGCVAxis : public QWidget
{
    Q_OBJECT
public:
    explicit QGCVAxis(QWidget *parent = nullptr);

    virtual int rowCount() const;
    virtual int rowHeight(int row) const;
    virtual int addRow(int height);
    virtual void setRows(const QVector<int> &heights);
    virtual void setRowHeight(int row, int height);
    virtual int rowAt(int y) const;
    virtual int rowTop(int row) const;
    virtual int totalHeight() const;
    virtual void clear();

    void reserve(int rows);
    // `count` rows of one height, in place of any rows before.
    void setUniformRows(int count, int height);

private:
    // Tops are ascending, so a binary search finds the row under a y.
    QVector<int> m_tops;
    QVector<int> m_heights;
};

} // namespace mygc
