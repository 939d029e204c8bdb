// Writes a synthetic P6 XER schedule for demos, tests and benchmarks.
// Usage: plandeck-xergen --seed N --activities N [-o FILE]   (standard output without -o)

#include "xergenerator.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    qulonglong seed = 1;
    int activities = 350;
    QString output;
    bool ok = true;
    for (int i = 1; i < args.size() && ok; ++i) {
        const QString& a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--seed") && hasValue)
            seed = args.at(++i).toULongLong(&ok);
        else if (a == QLatin1String("--activities") && hasValue)
            activities = args.at(++i).toInt(&ok);
        else if (a == QLatin1String("-o") && hasValue)
            output = args.at(++i);
        else
            ok = false;
    }
    if (!ok || activities < 0) {
        err << "usage: plandeck-xergen --seed N --activities N [-o FILE]\n";
        return 2;
    }

    QFile file;
    const bool opened = output.isEmpty() ? file.open(stdout, QIODevice::WriteOnly)
                                         : (file.setFileName(output), file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (!opened) {
        err << "plandeck-xergen: cannot open " << (output.isEmpty() ? QStringLiteral("standard output") : output) << ": "
            << file.errorString() << "\n";
        return 1;
    }
    XerGenerator generator(seed, activities);
    if (!generator.write(&file) || !file.flush()) {
        err << "plandeck-xergen: " << (generator.errorString().isEmpty() ? file.errorString() : generator.errorString()) << "\n";
        return 1;
    }
    return 0;
}
