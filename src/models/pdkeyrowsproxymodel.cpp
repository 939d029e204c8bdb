#include "pdkeyrowsproxymodel.h"

PdKeyRowsProxyModel::PdKeyRowsProxyModel(QObject* parent)
    : QAbstractProxyModel(parent)
{
}

PdKeyRowsProxyModel::~PdKeyRowsProxyModel() = default;

void PdKeyRowsProxyModel::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    for (const auto& connection : qAsConst(m_connections))
        disconnect(connection);
    m_connections.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        // Any change of rows, columns or order moves the chains; a source that changes shape is
        // rare enough here (the tables of a loaded project) that a rebuild is the simple answer.
        const auto begin = [this] { beginSourceChange(); };
        const auto end = [this] { endSourceChange(); };
        m_connections << connect(source, &QAbstractItemModel::modelAboutToBeReset, this, begin)
                      << connect(source, &QAbstractItemModel::modelReset, this, end)
                      << connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, begin)
                      << connect(source, &QAbstractItemModel::rowsInserted, this, end)
                      << connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin)
                      << connect(source, &QAbstractItemModel::rowsRemoved, this, end)
                      << connect(source, &QAbstractItemModel::rowsAboutToBeMoved, this, begin)
                      << connect(source, &QAbstractItemModel::rowsMoved, this, end)
                      << connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this, begin)
                      << connect(source, &QAbstractItemModel::columnsInserted, this, end)
                      << connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this, begin)
                      << connect(source, &QAbstractItemModel::columnsRemoved, this, end)
                      << connect(source, &QAbstractItemModel::columnsAboutToBeMoved, this, begin)
                      << connect(source, &QAbstractItemModel::columnsMoved, this, end)
                      << connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, begin)
                      << connect(source, &QAbstractItemModel::layoutChanged, this, end)
                      << connect(source, &QAbstractItemModel::dataChanged, this,
                                 &PdKeyRowsProxyModel::onSourceDataChanged)
                      << connect(source, &QAbstractItemModel::headerDataChanged, this,
                                 &PdKeyRowsProxyModel::onSourceHeaderDataChanged)
                      // The base class then answers from an empty model; the index must not
                      // outlive the rows it names.
                      << connect(source, &QObject::destroyed, this, [this] {
                             beginResetModel();
                             m_firstNumber.clear();
                             m_firstText.clear();
                             m_next.clear();
                             m_rows.clear();
                             m_proxyRowOf.clear();
                             m_changing = false;
                             endResetModel();
                         });
    }
    m_changing = false;
    rebuildIndex();
    collectRows();
    endResetModel();
}

void PdKeyRowsProxyModel::setKeyColumn(int column)
{
    if (column == m_keyColumn)
        return;
    beginResetModel();
    m_keyColumn = column;
    rebuildIndex();
    collectRows();
    endResetModel();
}

void PdKeyRowsProxyModel::setKey(const QString& key)
{
    const QString wanted = normalized(key);
    if (wanted == m_key)
        return;
    beginResetModel();
    m_key = wanted;
    collectRows();
    endResetModel();
}

QList<int> PdKeyRowsProxyModel::sourceRows(const QString& key) const
{
    QList<int> rows;
    if (key.isEmpty())
        return rows;
    for (int row = firstRow(normalized(key)); row >= 0; row = m_next[size_t(row)])
        rows.append(row);
    return rows;
}

bool PdKeyRowsProxyModel::containsKey(const QString& key) const
{
    return firstRow(normalized(key)) >= 0;
}

bool PdKeyRowsProxyModel::wholeNumber(const QString& text, qlonglong* number)
{
    bool ok = false;
    *number = text.toLongLong(&ok);
    return ok && QString::number(*number) == text;
}

bool PdKeyRowsProxyModel::wholeNumber(const QVariant& value, qlonglong* number)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        *number = value.toLongLong();
        return true;
    default:
        return false;
    }
}

int PdKeyRowsProxyModel::firstRow(const QString& normalizedKey) const
{
    if (normalizedKey.isEmpty())
        return -1;
    qlonglong number = 0;
    if (wholeNumber(normalizedKey, &number))
        return m_firstNumber.value(number, -1);
    return m_firstText.value(normalizedKey, -1);
}

void PdKeyRowsProxyModel::rebuildIndex()
{
    m_firstNumber.clear();
    m_firstText.clear();
    m_next.clear();
    const QAbstractItemModel* source = sourceModel();
    if (!source || m_keyColumn < 0 || m_keyColumn >= source->columnCount())
        return;
    const int rows = source->rowCount();
    m_next.assign(size_t(rows), -1);
    // Walking backwards leaves each chain in ascending row order.
    const auto chain = [this](auto& first, const auto& key, int row) {
        const auto it = first.find(key);
        if (it == first.end()) {
            first.insert(key, row);
        } else {
            m_next[size_t(row)] = *it;
            *it = row;
        }
    };
    for (int row = rows - 1; row >= 0; --row) {
        const QVariant value = source->index(row, m_keyColumn).data();
        qlonglong number = 0;
        if (wholeNumber(value, &number)) {
            chain(m_firstNumber, number, row);
            continue;
        }
        const QString key = normalized(value.toString());
        if (key.isEmpty())
            continue;
        if (wholeNumber(key, &number))
            chain(m_firstNumber, number, row);
        else
            chain(m_firstText, key, row);
    }
}

void PdKeyRowsProxyModel::collectRows()
{
    m_rows.clear();
    m_proxyRowOf.clear();
    if (m_key.isEmpty())
        return;
    for (int row = firstRow(m_key); row >= 0; row = m_next[size_t(row)]) {
        m_proxyRowOf.insert(row, int(m_rows.size()));
        m_rows.push_back(row);
    }
}

void PdKeyRowsProxyModel::beginSourceChange()
{
    if (m_changing)
        return;
    m_changing = true;
    beginResetModel();
}

void PdKeyRowsProxyModel::endSourceChange()
{
    if (!m_changing)
        return;
    rebuildIndex();
    collectRows();
    m_changing = false;
    endResetModel();
}

void PdKeyRowsProxyModel::onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                              const QVector<int>& roles)
{
    if (m_changing || !topLeft.isValid() || topLeft.parent().isValid())
        return;
    const bool keyTouched = topLeft.column() <= m_keyColumn && m_keyColumn <= bottomRight.column()
        && (roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole));
    if (keyTouched) {
        beginResetModel();
        rebuildIndex();
        collectRows();
        endResetModel();
        return;
    }
    // Only the shown rows matter, and there are few of them.
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const int row = m_rows[i];
        if (row >= topLeft.row() && row <= bottomRight.row())
            emit dataChanged(index(int(i), topLeft.column()), index(int(i), bottomRight.column()), roles);
    }
}

void PdKeyRowsProxyModel::onSourceHeaderDataChanged(Qt::Orientation orientation, int first, int last)
{
    if (orientation == Qt::Horizontal)
        emit headerDataChanged(orientation, first, last);
}

QModelIndex PdKeyRowsProxyModel::index(int row, int column, const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex PdKeyRowsProxyModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

QModelIndex PdKeyRowsProxyModel::sibling(int row, int column, const QModelIndex&) const
{
    return index(row, column);
}

int PdKeyRowsProxyModel::rowCount(const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PdKeyRowsProxyModel::columnCount(const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

bool PdKeyRowsProxyModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() && rowCount() > 0 && columnCount() > 0;
}

QModelIndex PdKeyRowsProxyModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel() || proxyIndex.model() != this)
        return QModelIndex();
    const int row = proxyIndex.row();
    if (row < 0 || size_t(row) >= m_rows.size())
        return QModelIndex();
    return sourceModel()->index(m_rows[size_t(row)], proxyIndex.column());
}

QModelIndex PdKeyRowsProxyModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != sourceModel() || sourceIndex.parent().isValid())
        return QModelIndex();
    const auto it = m_proxyRowOf.constFind(sourceIndex.row());
    return it == m_proxyRowOf.constEnd() ? QModelIndex() : index(*it, sourceIndex.column());
}

QVariant PdKeyRowsProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The base class maps a section through row 0, which does not exist while no row is shown.
    if (!sourceModel())
        return QVariant();
    if (orientation == Qt::Horizontal)
        return sourceModel()->headerData(section, orientation, role);
    // Rows are numbered as shown; the source's numbers would run into the hundred thousands.
    return QAbstractItemModel::headerData(section, orientation, role);
}
