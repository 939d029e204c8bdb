#ifndef PDKEYROWSPROXYMODEL_H
#define PDKEYROWSPROXYMODEL_H

#include <QAbstractProxyModel>
#include <QHash>
#include <QList>
#include <QString>

#include <vector>

// The rows of a flat source whose key column holds one value, in source order. Keys match whole
// values, case-insensitively: a key of 12 never shows the rows of 112 or 120.
//
// The rows of every key are found through an index built once per source content (a first row
// per key and a chain to the next row of the same key), so changing the key costs the rows it
// shows, not a pass over the source. A filter proxy re-testing a few hundred thousand
// relationships on every change of the current activity was the reason for this class.
class PdKeyRowsProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit PdKeyRowsProxyModel(QObject* parent = nullptr);
    ~PdKeyRowsProxyModel() override;

    void setSourceModel(QAbstractItemModel* source) override;

    int keyColumn() const { return m_keyColumn; }
    void setKeyColumn(int column);
    QString key() const { return m_key; }
    // An empty key shows no rows.
    void setKey(const QString& key);

    // The source rows holding a key, in source order, without changing what is shown.
    QList<int> sourceRows(const QString& key) const;
    bool containsKey(const QString& key) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& idx) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    static QString normalized(const QString& key) { return key.toCaseFolded(); }
    // Whole numbers are kept as numbers: most keys are ids, and a number
    // hashes without making a text per row. Only a number's own spelling
    // reads as the number, so "012" stays a text of its own.
    static bool wholeNumber(const QString& text, qlonglong* number);
    static bool wholeNumber(const QVariant& value, qlonglong* number);
    int firstRow(const QString& normalizedKey) const;
    void rebuildIndex();
    void collectRows();
    void beginSourceChange();
    void endSourceChange();
    void onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);
    void onSourceHeaderDataChanged(Qt::Orientation orientation, int first, int last);

    int m_keyColumn = 0;
    QString m_key;
    // First source row of each key; m_next[row] is the next row with the same key, or -1.
    QHash<qlonglong, int> m_firstNumber;
    QHash<QString, int> m_firstText;
    std::vector<int> m_next;
    // The source rows shown, and the inverse for mapFromSource.
    std::vector<int> m_rows;
    QHash<int, int> m_proxyRowOf;
    bool m_changing = false;
    QList<QMetaObject::Connection> m_connections;
};

#endif // PDKEYROWSPROXYMODEL_H
