#pragma once

#include "xerfieldconverter.h"
#include "xerrecordsink.h"

#include <QHash>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class IContainer;
class ContainerColumn;

namespace xer {
class XERField;
}

// Where each field of a table's records goes: (field position, container
// column) pairs for the fields the catalogue knows, and each column's type.
struct XerColumnMap
{
    std::vector<std::pair<int, int>> fields;
    std::vector<XerFieldConverter::Datatype> datatypes;

    // A field named twice fills its column from the later position only:
    // each column takes exactly one cell per record.
    static XerColumnMap of(const xer::XERField *names, const IContainer &container);
};

// Converts the records of the catalogued tables into their containers while
// the reader is still reading: the records are never kept as decoded lines,
// only their raw bytes for as long as a batch waits to be converted. Batches
// are converted on the reading thread and on one helper thread, each into a
// part of its own, and the parts are joined in file order by finish().
class XerTableStream : public xer::XERRecordSink
{
public:
    // Makes the empty container, with its columns, for one table name.
    using ContainerMaker = std::function<std::shared_ptr<IContainer>(const QString &table)>;

    // `tables`: the table names (as in the file) whose records are streamed.
    XerTableStream(const QStringList &tables, ContainerMaker maker);
    ~XerTableStream() override;

    bool streams(const xer::XERTable &table) override;
    void record(const xer::XERTable &table, const char *data, int size) override;

    // Waits until every record handed over is converted and joins the parts
    // into the containers. Call once, after the read.
    void finish();

    // True when the records could not be converted as they came: some came
    // before their table's field names, or the field names changed after
    // them. The file must then be read the stored way.
    bool needsStoredRead() const { return m_irregular; }

    // The container a streamed table was converted into; null for a table
    // that was not streamed.
    std::shared_ptr<IContainer> container(const xer::XERTable *table) const;

    struct FieldCounts
    {
        int more = 0;  // records with more fields than the field names
        int fewer = 0; // records with fewer
    };
    FieldCounts fieldCounts(const xer::XERTable *table) const;

private:
    struct Part;
    struct Run;
    struct Batch;
    struct Worker;

    void closeBatch();
    void convert(Worker &worker, Batch &batch);
    void helperLoop();
    std::unique_ptr<Batch> takeBatch(bool wait);
    void recycle(std::unique_ptr<Batch> batch);
    void stopHelper();

    QHash<QString, bool> m_tables;
    ContainerMaker m_maker;
    std::vector<std::unique_ptr<Run>> m_runs;
    QHash<const xer::XERTable *, Run *> m_runOf;
    QHash<QString, Run *> m_lastRun;
    // An empty container per table name, for its columns and their types.
    QHash<QString, std::shared_ptr<IContainer>> m_prototypes;
    std::unique_ptr<Batch> m_open;
    bool m_irregular = false;

    std::unique_ptr<Worker> m_readerWorker;
    std::unique_ptr<Worker> m_helperWorker;
    std::thread m_helper;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::unique_ptr<Batch>> m_pending;
    std::vector<std::unique_ptr<Batch>> m_spare;
    bool m_closed = false;
};
