#include "platform/framework/app.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

#include "platform/system/profile_store.h"
#include "platform/system/url.h"
#include "platform/toolkit/toolkit.h"
#include "platform/framework/local_file_uri.h"
#include "platform/framework/responsive_wait.h"
#include "platform/framework/wnd.h"

namespace {

CWinApp* g_app = nullptr;
int g_signalPipe[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM arrive as a close request to the main window, so they run
// the same shutdown as every other way of closing.
void WatchTerminationSignals()
{
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) {}
        platform::RequestClose();
    });
}

}  // namespace

CWinApp::CWinApp(const char* appName)
{
    if (appName != nullptr)
        m_pszAppName = appName;
    g_app = this;
}

CWinApp::~CWinApp()
{
    CommitProfile();
    delete m_profile;
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    CommitProfile();
    return 0;
}

void CWinApp::SetRegistryKey(const char* key)
{
    m_pszRegistryKey = key != nullptr ? key : "";
    CommitProfile();
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
    ProfileStore& profile = Profile();
    const bool first = !profile.HasStaged();
    if (!profile.Stage(section, entry, value))
        return FALSE;
    // The values a handler writes go to the file together, in one replacement, once control
    // is back in the event loop: a kill in between leaves the old file whole.
    if (first) {
        if (QCoreApplication* loop = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                loop, [path = profile.Path()] { ProfileStore(path).Commit(); }, Qt::QueuedConnection);
        } else {
            return profile.Commit() ? TRUE : FALSE;
        }
    }
    return TRUE;
}

void CWinApp::CommitProfile()
{
    if (m_profile != nullptr)
        m_profile->Commit();
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
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE, 0, 0);
}

void CWinApp::BeginWaitCursor()
{
    if (m_waitDepth++ == 0 && QCoreApplication::instance() != nullptr)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CWinApp::EndWaitCursor()
{
    if (m_waitDepth == 0)
        return;
    if (--m_waitDepth == 0 && QCoreApplication::instance() != nullptr)
        QApplication::restoreOverrideCursor();
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
    if (!platform::DisplayNamed()) {
        std::fprintf(stderr, "%s: no display to show the player on (DISPLAY is not set)\n", program);
        return 1;
    }
    platform::MakeToolkit(program);
    WatchTerminationSignals();
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    if (app->m_pszAppName.empty())
        app->m_pszAppName = platform::AppNameFromExecutable(program);
    app->m_lpCmdLine = platform::CommandLineFromArgs(argc, argv);
    app->InitInstance();
    app->ExitInstance();
    // Widgets of closed windows are deleted once control is back in an event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::DestroyToolkit();
    return 0;
}

namespace platform {

void AbandonWaitsForCommand(UINT command)
{
    platform::AbandonWaitsOn(command);
}

void RequestClose()
{
    // A close cannot finish while a dialog, chooser or menu runs its own loop above it.
    for (int i = 0; i < 16; ++i) {
        QWidget* modal = QApplication::activePopupWidget();
        if (modal == nullptr)
            modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (modal->isVisible())
            modal->hide();
    }
    if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetSafeHwnd() != nullptr) {
        main->PostMessage(WM_CLOSE, 0, 0);
    } else {
        QCoreApplication::exit(0);
    }
}

std::string AppNameFromExecutable(const std::string& path)
{
    std::string name = path;
    if (const auto slash = name.find_last_of('/'); slash != std::string::npos)
        name.erase(0, slash + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos && dot != 0)
        name.erase(dot);
    return name;
}

std::string CommandLineFromArgs(int argc, const char* const* argv)
{
    // A launcher hands over each file as a URL of its own, and a URL has no blank a shell
    // could have split it at: the first one is the medium, alone.
    if (argc > 1 && argv[1] != nullptr && IsUrl(argv[1]))
        return LocalPathFromFileUri(argv[1]);
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i] != nullptr ? argv[i] : "";
    }
    return line;
}

}  // namespace platform
