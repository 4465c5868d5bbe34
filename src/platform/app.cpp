#include "platform/app.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

#include "platform/profile_store.h"
#include "platform/wnd.h"

namespace {

CWinApp* g_app = nullptr;
// Kept to the end of the process: destroying it among the static objects at exit
// would run after parts of the toolkit are gone.
QApplication* g_toolkit = nullptr;
int g_signalPipe[2] = {-1, -1};

// The toolkit takes its settings from the environment only: the command line
// belongs to the program.
void MakeToolkit(const char* programName)
{
    if (QCoreApplication::instance() != nullptr) return;
    static std::string name;
    name = programName != nullptr && programName[0] != '\0' ? programName : "vantrel";
    static char* argv[] = {name.data(), nullptr};
    static int argc = 1;
    g_toolkit = new QApplication(argc, argv);
    // Numbers and dates are formatted the same whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
}

// Whether the environment names a display, or a toolkit platform that needs none.
bool DisplayNamed()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

void OnTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM arrive as a close request to the main window, so they run
// the same shutdown as every other way of closing.
void WatchTerminationSignals()
{
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        // A close cannot finish while a dialog, chooser or menu runs its own loop above it.
        for (int i = 0; i < 16; ++i) {
            QWidget* modal = QApplication::activePopupWidget();
            if (modal == nullptr) modal = QApplication::activeModalWidget();
            if (modal == nullptr) break;
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            else modal->close();
            if (modal->isVisible()) modal->hide();
        }
        if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetSafeHwnd() != nullptr) {
            main->PostMessage(WM_CLOSE, 0, 0);
        } else {
            QCoreApplication::exit(0);
        }
    });
}

}  // namespace

CWinApp::CWinApp(const char* appName)
{
    if (appName != nullptr) m_pszAppName = appName;
    g_app = this;
}

CWinApp::~CWinApp()
{
    delete m_profile;
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::SetRegistryKey(const char* key)
{
    m_pszRegistryKey = key != nullptr ? key : "";
    delete m_profile;
    m_profile = nullptr;
}

ProfileStore& CWinApp::Profile()
{
    if (m_profile == nullptr) {
        const std::string key = m_pszRegistryKey.empty() ? std::string("Local") : m_pszRegistryKey;
        const std::string app = m_pszAppName.empty() ? std::string("vantrel") : m_pszAppName;
        m_profile = new ProfileStore(ProfileStore::DefaultPath(key, app));
    }
    return *m_profile;
}

int CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    return Profile().Read(section, entry).value_or(defaultValue);
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    return Profile().Write(section, entry, value) ? TRUE : FALSE;
}

BOOL CWinApp::OnCmdMsg(UINT id)
{
    if (id == ID_APP_EXIT) {
        OnAppExit();
        return TRUE;
    }
    return FALSE;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr) m_pMainWnd->SendMessage(WM_CLOSE, 0, 0);
}

void CWinApp::BeginWaitCursor()
{
    if (m_waitDepth++ == 0 && QCoreApplication::instance() != nullptr) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CWinApp::EndWaitCursor()
{
    if (m_waitDepth == 0) return;
    if (--m_waitDepth == 0 && QCoreApplication::instance() != nullptr) QApplication::restoreOverrideCursor();
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

int AfxWinMain(int argc, char** argv)
{
    const char* program = argc > 0 ? argv[0] : "vantrel";
    // The toolkit would abort with a core dump; say what is missing instead.
    if (!DisplayNamed()) {
        std::fprintf(stderr, "%s: no display to show the player on (DISPLAY is not set)\n", program);
        return 1;
    }
    MakeToolkit(program);
    WatchTerminationSignals();
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return 1;
    if (app->m_pszAppName.empty()) app->m_pszAppName = platform::AppNameFromExecutable(program);
    app->m_lpCmdLine = platform::CommandLineFromArgs(argc, argv);
    app->InitInstance();
    app->ExitInstance();
    // Widgets of closed windows are deleted once control is back in an event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete g_toolkit;
    g_toolkit = nullptr;
    return 0;
}

namespace platform {

std::string AppNameFromExecutable(const std::string& path)
{
    std::string name = path;
    if (const auto slash = name.find_last_of('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos && dot != 0) name.erase(dot);
    return name;
}

std::string CommandLineFromArgs(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i] != nullptr ? argv[i] : "";
    }
    return line;
}

void EnsureToolkit()
{
    // Without any display to talk to, draw offscreen rather than abort.
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
        if (remaining > 0) ::usleep(1000);
    } while (timer.elapsed() < ms);
}

}  // namespace platform
