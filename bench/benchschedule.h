#pragma once

#include <QJsonDocument>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class XERLoader;

// Set-up the window-level benchmarks share: one generated schedule, cached in
// /tmp between runs, loaded the way the window loads it.
namespace bench {

// Writes the generator's 200,000-activity schedule to `path` unless a file is
// already there; false, with a message on stderr, when it cannot.
bool ensureSchedule(const QString &path);

QJsonDocument catalogue();

// Runs the load on the global thread pool and waits for it, as the window's
// open command does; false, with a message on stderr, when it fails.
bool loadOnWorker(XERLoader &loader, const QString &path);

// The schedule named by the arguments (else the cached generated one),
// loaded as above; null after printing `usage` or an error, with the exit
// status in *exitCode.
std::unique_ptr<XERLoader> loadFromArguments(const QStringList &args, const char *usage, int *exitCode);

// Processor milliseconds this process has used so far.
double cpuMs();

// Wall milliseconds of a step, counting what it left for the event loop (a
// chart rebuild, a paint).
double timed(const std::function<void()> &step);
// Processor milliseconds of the last timed step: on a machine shared with
// other work it moves far less than the wall clock does.
double lastCpuMs();

} // namespace bench
