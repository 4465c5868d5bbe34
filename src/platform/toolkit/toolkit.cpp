#include "platform/toolkit/toolkit.h"

#include "platform/toolkit/loop_probe.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {
// Kept to the end of the process: destroying it among the static objects at exit
// would run after parts of the toolkit are gone.
QApplication* g_toolkit = nullptr;

// What the toolkit says while it starts. A fatal message then means that the window
// system cannot be reached (a DISPLAY naming no server, say): the toolkit would abort
// with a core dump, so the program says so in one line and ends instead.
struct StartMessages {
    QtMessageHandler previous = nullptr;
    std::string program;
    std::vector<std::pair<QtMsgType, QString>> held;
};
StartMessages* g_start = nullptr;

bool Set(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// With an X display named, the player runs on X: in a Wayland session that is XWayland,
// where every rule of the window's place holds (a Wayland client can neither place nor
// move its window itself), and a dead X display is not tried again as Wayland. The
// user's own choice of platform stands.
void PreferXWherever()
{
    if (!Set("QT_QPA_PLATFORM") && Set("DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

void OnStartMessage(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtFatalMsg) {
        g_start->held.emplace_back(type, text);
        return;
    }
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0')
        std::fprintf(stderr, "%s: no display to show the player on (cannot open the display %s)\n",
                     g_start->program.c_str(), display);
    else
        std::fprintf(stderr, "%s: no display to show the player on (%s)\n", g_start->program.c_str(),
                     qPrintable(text.section(QLatin1Char('\n'), 0, 0)));
    std::fflush(stderr);
    std::_Exit(1);
}
}  // namespace

namespace platform {

bool DisplayNamed()
{
    return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

bool PlacesItsWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void MakeToolkit(const char* programName)
{
    if (QCoreApplication::instance() != nullptr)
        return;
    static std::string name;
    name = programName != nullptr && programName[0] != '\0' ? programName : "vantrel";
    static char* argv[] = {name.data(), nullptr};
    static int argc = 1;
    PreferXWherever();
    StartMessages start{nullptr, name, {}};
    g_start = &start;
    start.previous = qInstallMessageHandler(OnStartMessage);
    g_toolkit = new QApplication(argc, argv);
    qInstallMessageHandler(start.previous);
    g_start = nullptr;
    // The toolkit started after all: what it said on the way is worth hearing.
    for (const auto& [type, text] : start.held)
        qt_message_output(type, QMessageLogContext(), text);
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
    StartLoopProbe();
}

void DestroyToolkit()
{
    delete g_toolkit;
    g_toolkit = nullptr;
}

void EnsureToolkit()
{
    if (!DisplayNamed())
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
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
        if (remaining > 0)
            ::usleep(1000);
    } while (timer.elapsed() < ms);
}

}  // namespace platform
