// Times the schedule generator and prints ratios measured in the same run:
// - the cost per activity at the large size against the small size (1.0 = linear);
// - the generation time against a baseline that only copies the same bytes in 1 MiB pieces.
// Each figure is a median. Usage: bench_xergen [ACTIVITIES] [RUNS]

#include "xergenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIODevice>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// Discards what it is given, so the figures leave the disk out.
class NullDevice : public QIODevice {
public:
    qint64 bytes = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 len) override
    {
        bytes += len;
        return len;
    }
};

double medianSeconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

qint64 generate(int activities)
{
    NullDevice out;
    out.open(QIODevice::WriteOnly);
    XerGenerator(7, activities).write(&out);
    return out.bytes;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int large = argc > 1 ? std::max(1000, atoi(argv[1])) : 200000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    const int small = large / 10;

    qint64 largeBytes = 0;
    const double smallTime = medianSeconds(runs, [&] { generate(small); });
    const double largeTime = medianSeconds(runs, [&] { largeBytes = generate(large); });

    std::vector<char> source(1 << 20, 'x'), target(1 << 20);
    const double copyTime = medianSeconds(runs, [&] {
        for (qint64 done = 0; done < largeBytes; done += qint64(source.size()))
            std::memcpy(target.data(), source.data(), source.size());
    });

    std::printf("activities %d: %.1f MB in %.3f s (%.0f MB/s)\n", large, largeBytes / 1e6, largeTime, largeBytes / 1e6 / largeTime);
    std::printf("cost per activity, %d vs %d: ratio %.2f (1.0 = linear)\n", large, small, (largeTime / large) / (smallTime / small));
    std::printf("generation vs copying the same bytes: ratio %.1f\n", largeTime / std::max(copyTime, 1e-9));
    return 0;
}
