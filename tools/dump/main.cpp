// Loads an XER file the way the window does and prints what the loader made:
//   plandeck-dump FILE               a JSON summary of tables, models, views and timings
//   plandeck-dump --csv MODEL FILE   one registered model as CSV
// Warnings about a file that loaded but is not what it seems go to stderr
// and into the summary's "warnings".
// Exit status: 0 success, 1 not an XER file, 2 cannot be opened, 3 no such
// model, 64 wrong usage.

#include "modelcsv.h"
#include "plandeckresources.h"
#include "xerfile.h"
#include "xerloader.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>
#include <QtConcurrent>

#include <cstdio>

namespace {

enum ExitCode { Success = 0, NotXer = 1, CannotOpen = 2, NoSuchModel = 3, Usage = 64 };

void printError(const QString &line)
{
    std::fputs(qPrintable(QStringLiteral("plandeck-dump: ") + line + QLatin1Char('\n')), stderr);
}

// The load's own log lines would bury the one line a failure prints.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
}

QJsonDocument catalogue()
{
    QFile file(QStringLiteral(":/files/schema.json"));
    if (!file.open(QIODevice::ReadOnly))
        return QJsonDocument();
    return QJsonDocument::fromJson(file.readAll());
}

// Runs read() on the global thread pool and waits for its end, as the window does.
int load(XERLoader &loader)
{
    QEventLoop loop;
    int errorCode = -1;
    QObject::connect(&loader, &ProjectLoader::finished, &loop, [&] { errorCode = xer::NoError; loop.quit(); });
    QObject::connect(&loader, &ProjectLoader::failed, &loop, [&](int code) { errorCode = code; loop.quit(); });
    QtConcurrent::run(QThreadPool::globalInstance(), &loader, &XERLoader::read);
    loop.exec();
    QThreadPool::globalInstance()->waitForDone();
    return errorCode;
}

QJsonObject summary(const XERLoader &loader, const QString &path)
{
    QJsonObject tables;
    QJsonObject models;
    for (const QString &name : loader.modelNames()) {
        const QAbstractItemModel *model = loader.model(name);
        if (loader.tableNames().contains(name))
            tables.insert(name, QJsonObject{{"records", model->rowCount()}, {"fields", model->columnCount()}});
        models.insert(name, QJsonObject{{"rows", model->rowCount()}, {"columns", model->columnCount()}});
    }
    return QJsonObject{{"file", path},
                       {"bytes", QFileInfo(path).size()},
                       {"tables", tables},
                       {"models", models},
                       {"views", loader.views().size()},
                       {"warnings", QJsonArray::fromStringList(loader.warnings())},
                       {"timings_ms", QJsonObject::fromVariantMap(loader.timings())}};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietMessages);
    plandeck::initResources();

    QStringList args = app.arguments().mid(1);
    QString csvModel;
    if (args.size() == 3 && args.at(0) == QLatin1String("--csv")) {
        csvModel = args.at(1);
        args = args.mid(2);
    }
    if (args.size() != 1 || args.at(0).startsWith(QLatin1String("--"))) {
        printError(QStringLiteral("usage: plandeck-dump [--csv MODEL] FILE"));
        return Usage;
    }
    const QString path = args.at(0);

    XERLoader loader(path, catalogue());
    const int result = load(loader);
    if (result != xer::NoError) {
        printError(XERLoader::failureText(result, path));
        return result == xer::InvalidFormat ? NotXer : CannotOpen;
    }
    for (const QString &warning : loader.warnings())
        printError(QStringLiteral("warning: ") + warning);

    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        printError(QStringLiteral("cannot write to standard output"));
        return CannotOpen;
    }
    if (csvModel.isEmpty()) {
        out.write(QJsonDocument(summary(loader, path)).toJson(QJsonDocument::Indented));
        return Success;
    }
    const QAbstractItemModel *model = loader.model(csvModel);
    if (!model) {
        printError(QStringLiteral("%1 has no model named %2; it has %3")
                       .arg(path, csvModel, loader.modelNames().join(QStringLiteral(", "))));
        return NoSuchModel;
    }
    ModelCsv::write(*model, &out);
    return Success;
}
