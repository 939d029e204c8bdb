#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// `plandeck --export OUT SCHEDULE`: loads the schedule as the window does,
// presents it with the default layout and writes OUT through the window's
// own export code, without showing anything. The file name's ending chooses
// the format, so further formats join the same option.
class CommandLineExport
{
public:
    // Exit statuses scripts can tell apart.
    enum Status {
        Written = 0,
        NotASchedule = 1,
        CannotOpenInput = 2,
        CannotWriteOutput = 3,
        UnknownLayout = 4,
        UsageError = 64,
    };

    static QString optionName();
    static QString layoutOptionName();
    static void describeOption(QCommandLineParser &parser);
    // Looks at the raw arguments, before any application object exists: an
    // export must choose a platform that needs no display.
    static bool isRequested(int argc, char *argv[]);

    // Keeps stderr for what a script needs to read: warnings and the
    // export's own messages, not the timing lines of every step.
    static void quietenLog();

    // Runs the export the parsed command line asks for; messages go to stderr.
    static int run(const QCommandLineParser &parser);

private:
    static int usageError(const QCommandLineParser &parser, const QString &message);
};
