#include "platform/toolkit/loop_probe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <memory>

namespace platform {

namespace {

constexpr qint64 kReportedGapNs = 4'000'000;

// What this thread has run, as against waited for a core.
qint64 ThreadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

void StartLoopProbe()
{
    const char* path = std::getenv("VANTREL_LOOP_PROBE");
    if (path == nullptr || path[0] == '\0' || QCoreApplication::instance() == nullptr)
        return;
    std::FILE* file = std::fopen(path, "a");
    if (file == nullptr)
        return;
    std::setvbuf(file, nullptr, _IONBF, 0);  // a player ended by a signal has written every line
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(1);
    auto* clock = new QElapsedTimer;
    clock->start();
    struct Tick {
        qint64 wall = 0;
        qint64 cpu = 0;
    };
    auto last = std::make_shared<Tick>(Tick{0, ThreadCpuNs()});
    QObject::connect(timer, &QTimer::timeout, [file, clock, last] {
        const Tick now{clock->nsecsElapsed(), ThreadCpuNs()};
        if (now.wall - last->wall >= kReportedGapNs)
            std::fprintf(file, "%lld %.2f %.2f\n", static_cast<long long>(now.wall / 1'000'000),
                         double(now.wall - last->wall) / 1e6, double(now.cpu - last->cpu) / 1e6);
        *last = now;
    });
    QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [file, clock] {
        std::fclose(file);
        delete clock;
    });
    timer->start();
}

}  // namespace platform
