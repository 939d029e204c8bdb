#include "xerloader.h"

#include "actvcodecontainer.h"
#include "actvtypecontainer.h"
#include "basecontainermodel.h"
#include "resourcecontainer.h"
#include "steptimer.h"
#include "taskactvcontainer.h"
#include "taskcontainer.h"
#include "taskpredcontainer.h"
#include "taskrsrccontainer.h"
#include "udftypecontainer.h"
#include "udfvaluecontainer.h"
#include "wbscontainer.h"
#include "xerfieldconverter.h"
#include "xerfile.h"
#include "xertablestream.h"
#include "projectmodels.h"
#include "valuetablemodel.h"

#include <QAbstractItemModel>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const QString viewTable = QStringLiteral("VIEWPROP");

QString errorText(int code)
{
    switch (code) {
    case xer::FileOpenError:
        return QStringLiteral("cannot be opened");
    case xer::InvalidFormat:
        return QStringLiteral("does not begin with an ERMHDR header");
    case xer::Cancelled:
        return QStringLiteral("load cancelled");
    default:
        break;
    }
    return QString();
}

int fieldPosition(const xer::XERField &names, const QString &upperName)
{
    for (int k = 0; k < names.fieldCount(); ++k) {
        if (names.field(k).toString().toUpper() == upperName)
            return k;
    }
    return -1;
}

template<typename T>
std::shared_ptr<IContainer> makeContainer()
{
    return std::make_shared<T>();
}

struct TableLoad
{
    QString name;
    const xer::XERTable *table = nullptr;
    std::shared_ptr<IContainer> container;

    qint64 work() const
    {
        return table ? qint64(table->records().size()) * (table->fieldNames() ? table->fieldNames()->fieldCount() : 1) : 0;
    }
};

// Converts every record of one table into a row of its container. Touches
// nothing but the table (read only) and the container, so tables can be
// filled side by side.
void fillContainer(const xer::XERTable &table, IContainer &container)
{
    const int columnCount = container.columnCount();
    const XerColumnMap map = XerColumnMap::of(table.fieldNames(), container);
    const auto &datatypes = map.datatypes;
    const auto &columnMap = map.fields;

    XerFieldConverter converter(columnCount);
    const QVector<xer::XERRecord *> &records = table.records();
    container.reserveRows(records.size());
    // Row by row, so that each record's fields are read while they are in
    // the cache; every mapped column gets one cell per record, the others
    // are padded with invalid cells by the container.
    container.appendRows(records.size(), [&](std::vector<ContainerColumn> &cells) {
        for (const xer::XERRecord *record : records) {
            for (const auto &[position, column] : columnMap) {
                const std::size_t c = std::size_t(column);
                converter.appendTo(cells[c], datatypes[c], record->field(position), column);
            }
        }
    });
}

// Fills the containers on this thread and one helper thread, the largest
// tables first, each to the side with less work so far. The helper has a
// pool of its own: waiting on the global pool from inside a global-pool
// task could wait forever on a machine with one core.
void fillContainers(const std::vector<TableLoad> &loads)
{
    std::vector<const TableLoad *> order;
    for (const TableLoad &load : loads) {
        if (load.table)
            order.push_back(&load);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const TableLoad *a, const TableLoad *b) { return a->work() > b->work(); });
    std::vector<const TableLoad *> lanes[2];
    qint64 work[2] = {0, 0};
    const int laneCount = QThread::idealThreadCount() > 1 ? 2 : 1;
    for (const TableLoad *load : order) {
        const int lane = laneCount > 1 && work[1] < work[0] ? 1 : 0;
        lanes[lane].push_back(load);
        work[lane] += load->work();
    }
    auto fillLane = [](const std::vector<const TableLoad *> &lane) {
        for (const TableLoad *load : lane)
            fillContainer(*load->table, *load->container);
    };
    QThreadPool helper;
    helper.setMaxThreadCount(1);
    QFuture<void> second = QtConcurrent::run(&helper, [&] { fillLane(lanes[1]); });
    fillLane(lanes[0]);
    second.waitForFinished();
}

} // namespace

XERLoader::XERLoader(const QString &fileName, const QJsonDocument &catalogue, QObject *parent)
    : ProjectLoader(parent)
    , m_fileName(fileName)
{
    setSchema(catalogue);
}

XERLoader::~XERLoader() = default;

QString XERLoader::loaderName() const
{
    return QStringLiteral("XERLoader");
}

QStringList XERLoader::wantedTables() const
{
    QStringList wanted = tableNames();
    wanted.append(viewTable);
    return wanted;
}

int XERLoader::detectLineEndConvention(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return xer::XERFile::CarriageReturnLineFeed;
    // A header line is a few hundred bytes, so its end is in the first
    // mebibyte; CR alone is what files from old Mac tools still carry.
    const QByteArray start = file.read(0x100000);
    const int lineFeed = start.indexOf('\n');
    if (lineFeed > 0 && start.at(lineFeed - 1) != '\r')
        return xer::XERFile::LineFeed;
    if (lineFeed < 0 && start.contains('\r'))
        return xer::XERFile::CarriageReturn;
    return xer::XERFile::CarriageReturnLineFeed;
}

QString XERLoader::failureText(int errorCode, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (errorCode == xer::InvalidFormat) {
        if (info.isFile() && info.size() == 0)
            return QStringLiteral("\"%1\" is empty.").arg(shown);
        return QStringLiteral("\"%1\" is not an XER schedule file.").arg(shown);
    }
    if (errorCode == xer::Cancelled)
        return QStringLiteral("Loading \"%1\" was cancelled.").arg(shown);
    QString text = QStringLiteral("\"%1\" cannot be opened.").arg(shown);
    if (!info.exists())
        text += QStringLiteral(" The file does not exist.");
    else if (info.isDir())
        text += QStringLiteral(" It is a folder.");
    else if (!info.isFile())
        text += QStringLiteral(" It is not a regular file.");
    else if (!info.isReadable())
        text += QStringLiteral(" You do not have permission to read it.");
    return text;
}

bool XERLoader::stopIfCancelled()
{
    if (!m_cancelled)
        return false;
    clearModels();
    m_views.clear();
    m_warnings.clear();
    qInfo().noquote() << QStringLiteral("XERLoader::read %1 %2").arg(m_fileName, errorText(xer::Cancelled));
    emit failed(int(xer::Cancelled));
    return true;
}

void XERLoader::read()
{
    StepTimer total(Q_FUNC_INFO);
    clearModels();
    clearTimings();
    m_views.clear();
    m_warnings.clear();
    if (stopIfCancelled())
        return;

    // A FIFO or a device would block the first read for good, behind a
    // modal progress dialog; only regular files are schedules.
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isFile()) {
        emit started();
        qWarning().noquote() << QStringLiteral("XERLoader::read %1 is not a regular file").arg(m_fileName);
        emit failed(int(xer::FileOpenError));
        return;
    }

    const int lineEnds = detectLineEndConvention(m_fileName);
    auto makeReader = [&] {
        auto reader = std::make_unique<xer::XERFile>(m_fileName, lineEnds, wantedTables());
        reader->setCancelFlag(&m_cancelled);
        // Direct, so that the reading progress leaves this thread in order with
        // the loader's own progress; a queued hop through the loader's thread
        // would let "Create Predecessor Model" overtake the last reading step.
        connect(reader.get(), &xer::XERFile::progress, this, &ProjectLoader::progress, Qt::DirectConnection);
        return reader;
    };
    std::unique_ptr<xer::XERFile> reader = makeReader();
    emit started();

    struct Table
    {
        QString name;
        std::shared_ptr<IContainer> (*make)();
    };
    const Table tables[] = {
        {QStringLiteral("PROJWBS"), &makeContainer<WBSContainer>},
        {QStringLiteral("TASK"), &makeContainer<TaskContainer>},
        {QStringLiteral("ACTVCODE"), &makeContainer<ActvCodeContainer>},
        {QStringLiteral("ACTVTYPE"), &makeContainer<ActvTypeContainer>},
        {QStringLiteral("RSRC"), &makeContainer<ResourceContainer>},
        {QStringLiteral("TASKPRED"), &makeContainer<TaskPredContainer>},
        {QStringLiteral("TASKRSRC"), &makeContainer<TaskRsrcContainer>},
        {QStringLiteral("UDFTYPE"), &makeContainer<UdfTypeContainer>},
        {QStringLiteral("UDFVALUE"), &makeContainer<UdfValueContainer>},
        {QStringLiteral("TASKACTV"), &makeContainer<TaskActvContainer>},
    };
    QStringList tableNames;
    for (const Table &table : tables)
        tableNames << table.name;
    auto containerFor = [&](const QString &name) {
        for (const Table &table : tables) {
            if (table.name != name)
                continue;
            std::shared_ptr<IContainer> container = table.make();
            if (container->columnCount() == 0)
                container->setColumns(tableColumns(name));
            return container;
        }
        return std::shared_ptr<IContainer>();
    };
    // The catalogued tables are converted as they are read, so that the
    // file never exists as decoded text.
    auto stream = std::make_unique<XerTableStream>(tableNames, containerFor);
    reader->setRecordSink(stream.get());

    QElapsedTimer step;
    step.start();
    xer::ErrorCode result = reader->read();
    if (result == xer::NoError) {
        stream->finish();
        // A table whose records cannot be converted as they come (field
        // names after its records, or twice) is rare enough to read again,
        // the stored way, rather than to keep every record just in case.
        if (stream->needsStoredRead() && !m_cancelled) {
            stream.reset();
            reader = makeReader();
            result = reader->read();
        }
    }
    setTiming(QStringLiteral("read"), step.elapsed());
    // The reader counts an empty file as fully scanned. To the user it is no
    // schedule at all: an empty project without a word would look like lost data.
    if (result == xer::NoError && QFileInfo(m_fileName).size() == 0)
        result = xer::InvalidFormat;
    // The reader ends with Cancelled only when the flag is set.
    if (stopIfCancelled())
        return;
    if (result != xer::NoError) {
        qWarning().noquote() << QStringLiteral("XERLoader::read %1 %2").arg(m_fileName, errorText(result));
        emit failed(int(result));
        return;
    }

    step.restart();
    QHash<QString, const xer::XERTable *> lastTableByName;
    for (const xer::XERTable *table : reader->tables())
        lastTableByName.insert(table->field(1).toString(), table);

    std::vector<TableLoad> loads;
    for (const Table &table : tables) {
        const xer::XERTable *last = lastTableByName.value(table.name, nullptr);
        std::shared_ptr<IContainer> container = stream && last ? stream->container(last) : nullptr;
        loads.push_back({table.name, container ? nullptr : last, container ? container : containerFor(table.name)});
    }
    fillContainers(loads);
    for (const TableLoad &load : loads) {
        if (!lastTableByName.contains(load.name))
            continue;
        auto *model = new BaseContainerModel;
        model->setContainer(load.container);
        model->setObjectName(load.name);
        registerModel(load.name, model);
    }

    for (const xer::XERTable *table : reader->tables()) {
        if (table->field(1).toString().toUpper() == viewTable)
            collectViews(*table);
    }
    collectWarnings(*reader, stream.get());
    // Every value now lives in the containers; keeping the reader's line
    // texts would hold the whole file a second time for the project's life.
    reader.reset();
#ifdef __GLIBC__
    // The lines were millions of small blocks interleaved with the
    // containers' ones; glibc keeps such freed pages unless asked.
    malloc_trim(0);
#endif
    setTiming(QStringLiteral("tables"), step.elapsed());

    // The resource and code models and the two pivots only read tables
    // that the activity columns, written meanwhile, do not touch: they are
    // built on a helper thread while this one builds the predecessor model
    // and writes the activity columns. Each is registered afterwards, in
    // the order and with the progress text it always had.
    struct Helped
    {
        const char *name;
        int percent;
        const char *text;
        std::function<QAbstractItemModel *()> build;
        std::unique_ptr<QAbstractItemModel> model;
        qint64 ms = 0;
    };
    QAbstractItemModel *task = model(QStringLiteral("TASK"));
    QAbstractItemModel *actvCode = model(QStringLiteral("ACTVCODE"));
    QAbstractItemModel *taskActv = model(QStringLiteral("TASKACTV"));
    QAbstractItemModel *actvType = model(QStringLiteral("ACTVTYPE"));
    QAbstractItemModel *udfType = model(QStringLiteral("UDFTYPE"));
    QAbstractItemModel *udfValue = model(QStringLiteral("UDFVALUE"));
    QAbstractItemModel *taskRsrc = model(QStringLiteral("TASKRSRC"));
    QAbstractItemModel *rsrc = model(QStringLiteral("RSRC"));
    Helped helped[] = {
        {"ResourceModel", 30, "Create Resource Model",
         [=] { return ProjectModels::makeResourceModel(taskRsrc, rsrc); }, nullptr},
        {"CodeModel", 40, "Create Codes Model",
         [=] { return ProjectModels::makeCodeModel(taskActv, actvCode, actvType); }, nullptr},
        {"taskCodesAssignmentModel", 50, "Create Task Codes Assignment Model",
         [=] { return ProjectModels::makeTaskCodesAssignmentModel(task, actvCode, taskActv, actvType); }, nullptr},
        {"userDefinedAssignmentModel", 60, "Create UDF Assignment Model",
         [=] { return ProjectModels::makeUdfAssignmentModel(task, udfType, udfValue); }, nullptr},
    };
    struct Helper
    {
        QThreadPool pool;
        QFuture<void> done;
        ~Helper() { done.waitForFinished(); }
    } helper;
    helper.pool.setMaxThreadCount(1);
    QThread *here = QThread::currentThread();
    helper.done = QtConcurrent::run(&helper.pool, [&helped, here] {
        // The pivots first: the activity model waits for them.
        for (int k : {2, 3, 0, 1}) {
            Helped &job = helped[k];
            QElapsedTimer timer;
            timer.start();
            job.model.reset(job.build());
            job.ms = timer.elapsed();
            // Made on this thread, they must be handed over from it.
            if (job.model)
                job.model->moveToThread(here);
        }
    });

    if (stopIfCancelled())
        return;
    emit progress(20, QStringLiteral("Create Predecessor Model"));
    createPredecessorModel();
    if (stopIfCancelled())
        return;

    ProjectModels::ActivityInputs inputs;
    inputs.task = task;
    inputs.wbs = model(QStringLiteral("PROJWBS"));
    inputs.taskRsrc = taskRsrc;
    inputs.predecessors = model(QStringLiteral("PredecessorModel"));
    inputs.taskPred = model(QStringLiteral("TASKPRED"));
    QElapsedTimer activityTimer;
    activityTimer.start();
    std::unique_ptr<ValueTableModel> rowKeys(ProjectModels::writeActivityColumns(inputs));
    qint64 activityMs = activityTimer.elapsed();

    helper.done.waitForFinished();
    for (Helped &job : helped) {
        if (stopIfCancelled())
            return;
        emit progress(job.percent, QLatin1String(job.text));
        if (job.model)
            registerModel(QLatin1String(job.name), job.model.release());
        setTiming(QLatin1String(job.name), job.ms);
    }
    if (stopIfCancelled())
        return;
    emit progress(70, QStringLiteral("Create Activity Model"));
    activityTimer.restart();
    inputs.taskCodes = model(QStringLiteral("taskCodesAssignmentModel"));
    inputs.userFields = model(QStringLiteral("userDefinedAssignmentModel"));
    if (QAbstractItemModel *activities = ProjectModels::joinActivityModel(inputs, rowKeys.release()))
        registerModel(QStringLiteral("ActivityModel"), activities);
    setTiming(QStringLiteral("ActivityModel"), activityMs + activityTimer.elapsed());

    if (stopIfCancelled())
        return;
    emit progress(80, QStringLiteral("Process data"));
#ifdef __GLIBC__
    // The derived models leave their working maps and lists freed between
    // the cells they keep; hand those pages back before the project is shown.
    malloc_trim(0);
#endif

    // The models were made on this worker thread, but from finished() on
    // only the loader's thread uses them; give them to it so that their
    // queued connections and deleteLater() work there.
    if (thread() != QThread::currentThread()) {
        for (QAbstractItemModel *model : models())
            model->moveToThread(thread());
    }
    QThread::msleep(5);
    setTiming(QStringLiteral("total"), total.elapsed());
    emit finished();
}

void XERLoader::collectWarnings(const xer::XERFile &reader, const XerTableStream *stream)
{
    const QAbstractItemModel *task = model(QStringLiteral("TASK"));
    const int activities = task ? task->rowCount() : 0;
    if (!reader.endsWithEndMarker()) {
        m_warnings << QStringLiteral("The file ends before its end marker (%E): it is probably cut short. "
                                     "%1 activities were read.")
                          .arg(activities);
    }
    if (activities == 0)
        m_warnings << QStringLiteral("The file holds no activities.");

    QMap<QString, int> copies;
    for (const xer::XERTable *table : reader.tables())
        ++copies[table->name()];
    for (auto it = copies.cbegin(); it != copies.cend(); ++it) {
        if (it.value() > 1) {
            m_warnings << QStringLiteral("The table %1 appears %2 times; the last copy is used.")
                              .arg(it.key())
                              .arg(it.value());
        }
    }

    for (const xer::XERTable *table : reader.tables()) {
        const xer::XERField *names = table->fieldNames();
        if (!names)
            continue;
        const XerTableStream::FieldCounts streamed = stream ? stream->fieldCounts(table) : XerTableStream::FieldCounts();
        int more = streamed.more;
        int fewer = streamed.fewer;
        for (const xer::XERRecord *record : table->records()) {
            more += record->fieldCount() > names->fieldCount() ? 1 : 0;
            fewer += record->fieldCount() < names->fieldCount() ? 1 : 0;
        }
        if (more > 0) {
            m_warnings << QStringLiteral("%1 records of the table %2 have more fields than its field names.")
                              .arg(more)
                              .arg(table->name());
        }
        if (fewer > 0) {
            m_warnings << QStringLiteral("%1 records of the table %2 have fewer fields than its field names.")
                              .arg(fewer)
                              .arg(table->name());
        }
    }
}

void XERLoader::collectViews(const xer::XERTable &table)
{
    const xer::XERField *names = table.fieldNames();
    if (!names)
        return;
    const int idPosition = fieldPosition(*names, QStringLiteral("VIEW_ID"));
    const int namePosition = fieldPosition(*names, QStringLiteral("VIEW_NAME"));
    const int dataPosition = fieldPosition(*names, QStringLiteral("DATA_POS"));
    if (idPosition < 0 || namePosition < 0 || dataPosition < 0)
        return;
    for (const xer::XERRecord *record : table.records()) {
        m_views.append(QVariantMap{{QStringLiteral("VIEW_ID"), record->field(idPosition).toString()},
                                   {QStringLiteral("VIEW_NAME"), record->field(namePosition).toString()},
                                   {QStringLiteral("VIEW_DATA"), record->field(dataPosition).toString()}});
    }
}
