#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractItemModel;

namespace mygc {

// The dates a chart's scale must span, read from a flat model once per change
// of it rather than once per rebuild of the shown rows: the scale then does
// not depend on which groups are open or which rows a filter hides.
class ChartSpan : public QObject
{
    Q_OBJECT
public:
    struct Span
    {
        bool valid = false;
        // The median start, around which implausible dates are ignored.
        qint64 reference = 0;
        qint64 first = 0;
        qint64 last = 0;
    };

    explicit ChartSpan(QObject *parent = nullptr);

    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const { return m_model; }
    void setColumns(int startColumn, int finishColumn);
    // Read again only after the model or the columns changed.
    const Span &span();

private:
    struct Dates
    {
        bool valid = false;
        qint64 start = 0;
        qint64 finish = 0;
    };
    Dates datesOf(int row) const;
    void rowsInserted(const QModelIndex &parent, int first, int last);
    void rowsRemoved(const QModelIndex &parent, int first, int last);

    QPointer<QAbstractItemModel> m_model;
    QList<QMetaObject::Connection> m_connections;
    int m_startColumn = -1;
    int m_finishColumn = -1;
    bool m_dirty = true;
    // Rows the span was read from, and the last of them with dates.
    int m_rows = 0;
    int m_lastDatedRow = -1;
    Span m_span;
};

} // namespace mygc
