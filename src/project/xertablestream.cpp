#include "xertablestream.h"

#include "containercolumn.h"
#include "icontainer.h"
#include "xerfield.h"
#include "xertable.h"
#include "xertext.h"

#include <QStringView>
#include <QThread>

#include <cstring>

namespace {

// Bytes of records per batch: enough that handing a batch over costs
// nothing against converting it, few enough that the two threads share the
// end of a table evenly and waiting batches hold little memory.
const int kBatchBytes = 512 * 1024;

// Batches waiting for the helper before the reading thread converts one
// itself; it keeps both threads busy and the bytes held bounded.
const std::size_t kMaxPending = 2;

} // namespace

XerColumnMap XerColumnMap::of(const xer::XERField *names, const IContainer &container)
{
    XerColumnMap map;
    const int columnCount = container.columnCount();
    map.datatypes.assign(std::size_t(columnCount), XerFieldConverter::Unknown);
    for (int c = 0; c < columnCount; ++c)
        map.datatypes[std::size_t(c)] = XerFieldConverter::datatypeOf(container.columnDatatype(c));
    std::vector<int> positionOf(std::size_t(columnCount), -1);
    if (names) {
        for (int k = 1; k < names->fieldCount(); ++k) {
            const int column = container.columnIndexById(names->field(k).toString().toLower());
            if (column >= 0)
                positionOf[std::size_t(column)] = k;
        }
    }
    for (int c = 0; c < columnCount; ++c) {
        if (positionOf[std::size_t(c)] >= 0)
            map.fields.emplace_back(positionOf[std::size_t(c)], c);
    }
    return map;
}

// The converted cells of one batch.
struct XerTableStream::Part
{
    std::vector<ContainerColumn> columns;
    int rows = 0;
    FieldCounts counts;
    bool done = false; // guarded by the stream's mutex
};

// One streamed table of the file.
struct XerTableStream::Run
{
    const xer::XERTable *table = nullptr;
    QString name;
    // Made by finish(), for the last table of each name only.
    std::shared_ptr<IContainer> container;
    // A later table of the same name replaces this one: its cells are
    // dropped as soon as they are converted (guarded by the stream's mutex).
    bool superseded = false;
    // The field names the records were converted with; null until the first record.
    const xer::XERField *names = nullptr;
    int nameCount = 0;
    XerColumnMap map;
    std::vector<std::unique_ptr<Part>> parts;
    FieldCounts counts;
};

// Raw records waiting to be converted, all of one table.
struct XerTableStream::Batch
{
    Run *run = nullptr;
    Part *part = nullptr;
    std::vector<char> bytes;
    std::vector<int> ends;
};

// What a converting thread keeps between batches: a converter per table,
// whose date and string memories carry over, and room to decode a line.
struct XerTableStream::Worker
{
    // By table name: a file that repeats a table thousands of times must
    // not cost a converter, with its memories, for every copy.
    QHash<QString, std::shared_ptr<XerFieldConverter>> converters;
    std::vector<ushort> text;
    std::vector<int> tabs;
};

XerTableStream::XerTableStream(const QStringList &tables, ContainerMaker maker)
    : m_maker(std::move(maker))
    , m_readerWorker(std::make_unique<Worker>())
    , m_helperWorker(std::make_unique<Worker>())
{
    for (const QString &table : tables)
        m_tables.insert(table, true);
}

XerTableStream::~XerTableStream()
{
    stopHelper();
}

bool XerTableStream::streams(const xer::XERTable &table)
{
    closeBatch();
    const QString name = table.name();
    if (!m_tables.contains(name))
        return false;
    {
        // Only the last table of a name is used; one repeated many times
        // must not hold every copy's cells until the end.
        std::lock_guard<std::mutex> lock(m_mutex);
        if (Run *previous = m_lastRun.value(name, nullptr)) {
            previous->superseded = true;
            for (std::unique_ptr<Part> &part : previous->parts) {
                if (part->done)
                    part->columns = std::vector<ContainerColumn>();
            }
        }
    }
    auto run = std::make_unique<Run>();
    run->table = &table;
    run->name = name;
    m_lastRun.insert(name, run.get());
    m_runOf.insert(&table, run.get());
    m_runs.push_back(std::move(run));
    return true;
}

void XerTableStream::record(const xer::XERTable &table, const char *data, int size)
{
    if (m_irregular)
        return;
    Run *run = m_runOf.value(&table, nullptr);
    if (!run)
        return;
    if (!run->names) {
        run->names = table.fieldNames();
        if (!run->names) {
            m_irregular = true;
            return;
        }
        run->nameCount = run->names->fieldCount();
        std::shared_ptr<IContainer> &prototype = m_prototypes[run->name];
        if (!prototype)
            prototype = m_maker(run->name);
        run->map = XerColumnMap::of(run->names, *prototype);
    }
    if (m_open && m_open->run != run)
        closeBatch();
    if (!m_open) {
        std::unique_ptr<Batch> spare;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_spare.empty()) {
                spare = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        m_open = spare ? std::move(spare) : std::make_unique<Batch>();
        m_open->run = run;
        m_open->bytes.reserve(kBatchBytes);
    }
    m_open->bytes.insert(m_open->bytes.end(), data, data + size);
    m_open->ends.push_back(int(m_open->bytes.size()));
    if (int(m_open->bytes.size()) >= kBatchBytes)
        closeBatch();
}

void XerTableStream::closeBatch()
{
    if (!m_open)
        return;
    std::unique_ptr<Batch> batch = std::move(m_open);
    Run &run = *batch->run;
    run.parts.push_back(std::make_unique<Part>());
    batch->part = run.parts.back().get();

    // A small table (or the tail of a large one) costs less converted here
    // than woken up on the helper; a file of many tiny tables would spend
    // its time handing batches over.
    const bool small = int(batch->bytes.size()) < kBatchBytes / 8;
    if (!small && !m_helper.joinable() && QThread::idealThreadCount() > 1)
        m_helper = std::thread([this] { helperLoop(); });
    if (small || !m_helper.joinable()) {
        convert(*m_readerWorker, *batch);
        recycle(std::move(batch));
        return;
    }
    std::unique_ptr<Batch> own;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.push_back(std::move(batch));
        if (m_pending.size() > kMaxPending) {
            own = std::move(m_pending.front());
            m_pending.pop_front();
        }
    }
    m_wake.notify_one();
    if (own) {
        convert(*m_readerWorker, *own);
        recycle(std::move(own));
    }
}

std::unique_ptr<XerTableStream::Batch> XerTableStream::takeBatch(bool wait)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (wait)
        m_wake.wait(lock, [this] { return m_closed || !m_pending.empty(); });
    if (m_pending.empty())
        return nullptr;
    std::unique_ptr<Batch> batch = std::move(m_pending.front());
    m_pending.pop_front();
    return batch;
}

void XerTableStream::recycle(std::unique_ptr<Batch> batch)
{
    batch->run = nullptr;
    batch->part = nullptr;
    batch->bytes.clear();
    batch->ends.clear();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_spare.size() < kMaxPending + 2)
        m_spare.push_back(std::move(batch));
}

void XerTableStream::helperLoop()
{
    while (std::unique_ptr<Batch> batch = takeBatch(true)) {
        convert(*m_helperWorker, *batch);
        recycle(std::move(batch));
    }
}

void XerTableStream::stopHelper()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
        m_pending.clear();
    }
    m_wake.notify_all();
    if (m_helper.joinable())
        m_helper.join();
}

void XerTableStream::convert(Worker &worker, Batch &batch)
{
    Run &run = *batch.run;
    Part &part = *batch.part;
    const int columnCount = int(run.map.datatypes.size());
    std::shared_ptr<XerFieldConverter> &converter = worker.converters[run.name];
    if (!converter)
        converter = std::make_shared<XerFieldConverter>(columnCount);

    const int rows = int(batch.ends.size());
    part.columns.resize(std::size_t(columnCount));
    for (const auto &field : run.map.fields)
        part.columns[std::size_t(field.second)].reserve(rows);

    const char *data = batch.bytes.data();
    int begin = 0;
    for (const int end : batch.ends) {
        const int size = end - begin;
        if (int(worker.text.size()) < size)
            worker.text.resize(std::size_t(size));
        const ushort *text = worker.text.data();
        const int length = xer::decodeLine(data + begin, size, worker.text.data(), worker.tabs);
        const int *tabs = worker.tabs.data();
        const int fieldCount = int(worker.tabs.size()) + 1;
        part.counts.more += fieldCount > run.nameCount ? 1 : 0;
        part.counts.fewer += fieldCount < run.nameCount ? 1 : 0;
        // A field past the end of a short record reads as empty.
        for (const auto &[position, column] : run.map.fields) {
            QStringView field;
            if (position < fieldCount) {
                const int from = position == 0 ? 0 : tabs[position - 1] + 1;
                const int to = position == fieldCount - 1 ? length : tabs[position];
                field = QStringView(reinterpret_cast<const QChar *>(text + from), to - from);
            }
            const std::size_t c = std::size_t(column);
            converter->appendTo(part.columns[c], run.map.datatypes[c], field, column);
        }
        begin = end;
    }
    part.rows = rows;
    std::lock_guard<std::mutex> lock(m_mutex);
    part.done = true;
    if (run.superseded)
        part.columns = std::vector<ContainerColumn>();
}

void XerTableStream::finish()
{
    closeBatch();
    while (std::unique_ptr<Batch> batch = takeBatch(false)) {
        convert(*m_readerWorker, *batch);
        recycle(std::move(batch));
    }
    stopHelper();
    m_readerWorker.reset();
    m_helperWorker.reset();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_spare.clear();
    }

    for (const std::unique_ptr<Run> &run : m_runs) {
        if (run->names && run->table->fieldNames() != run->names)
            m_irregular = true;
    }
    if (m_irregular) {
        m_runs.clear();
        m_runOf.clear();
        return;
    }
    for (const std::unique_ptr<Run> &run : m_runs) {
        int rows = 0;
        for (const std::unique_ptr<Part> &part : run->parts) {
            rows += part->rows;
            run->counts.more += part->counts.more;
            run->counts.fewer += part->counts.fewer;
        }
        if (run->superseded) {
            run->parts.clear();
            continue;
        }
        run->container = m_maker(run->name);
        run->container->reserveRows(rows);
        for (std::unique_ptr<Part> &part : run->parts) {
            run->container->appendRows(part->rows, [&part](std::vector<ContainerColumn> &cells) {
                for (std::size_t c = 0; c < cells.size() && c < part->columns.size(); ++c)
                    cells[c].appendColumn(std::move(part->columns[c]));
            });
            part.reset();
        }
        run->parts.clear();
    }
}

std::shared_ptr<IContainer> XerTableStream::container(const xer::XERTable *table) const
{
    const Run *run = m_runOf.value(table, nullptr);
    return run ? run->container : nullptr;
}

XerTableStream::FieldCounts XerTableStream::fieldCounts(const xer::XERTable *table) const
{
    const Run *run = m_runOf.value(table, nullptr);
    return run ? run->counts : FieldCounts();
}
