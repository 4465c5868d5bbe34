#include "platform/toolkit/toolkit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
// Kept to the end of the process: destroying it among the static objects at exit
// would run after parts of the toolkit are gone.
QApplication* g_toolkit = nullptr;
}  // namespace

namespace platform {

bool DisplayNamed()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

void MakeToolkit(const char* programName)
{
    if (QCoreApplication::instance() != nullptr) return;
    static std::string name;
    name = programName != nullptr && programName[0] != '\0' ? programName : "vantrel";
    static char* argv[] = {name.data(), nullptr};
    static int argc = 1;
    g_toolkit = new QApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
}

void DestroyToolkit()
{
    delete g_toolkit;
    g_toolkit = nullptr;
}

void EnsureToolkit()
{
    if (!DisplayNamed()) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    MakeToolkit("vantrel");
}

void PumpEvents(int ms)
{
    EnsureToolkit();
    QElapsedTimer timer;
    timer.start();
    do {
        const qint64 remaining = std::max<qint64>(0, ms - timer.elapsed());
        QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(std::min<qint64>(remaining, 10)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (remaining > 0) ::usleep(1000);
    } while (timer.elapsed() < ms);
}

}  // namespace platform
