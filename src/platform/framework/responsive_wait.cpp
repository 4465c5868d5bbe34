#include "platform/framework/responsive_wait.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/framework/app.h"
#include "platform/framework/window_host.h"
#include "platform/framework/wnd.h"

namespace {

using namespace std::chrono_literals;

// Most opens settle in this time; only a longer wait brings the windows to life.
constexpr std::chrono::milliseconds kGrace = 100ms;
// How long the windows may go without painting while the wait goes on.
constexpr std::chrono::milliseconds kSlice = 20ms;

struct HeldMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

bool IsCloseRequest(UINT message, WPARAM wParam)
{
    if (message == WM_CLOSE)
        return true;
    const UINT command = static_cast<UINT>(wParam & 0xFFFF);
    return message == WM_COMMAND && (command == IDCANCEL || command == ID_APP_EXIT);
}

// The wait in progress on the UI thread: what it holds back and whether a close ended it.
class ResponsiveWait : public QObject {
public:
    bool abandoned = false;
    bool closeAfter = false;
    std::vector<HeldMessage> held;

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (platform::IsUserInput(event)) {
            if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                abandoned = true;
                closeAfter = true;
            }
            return true;
        }
        // A close from the window manager would run the close handling inside the wait.
        if (event->type() == QEvent::Close && object->isWidgetType() && static_cast<QWidget*>(object)->isWindow()) {
            event->ignore();
            abandoned = true;
            closeAfter = true;
            return true;
        }
        return false;
    }
};

ResponsiveWait* g_wait = nullptr;
std::vector<UINT> g_abandoningCommands;

bool IsAbandoningCommand(UINT message, WPARAM wParam)
{
    const UINT command = static_cast<UINT>(wParam & 0xFFFF);
    return message == WM_COMMAND &&
           std::find(g_abandoningCommands.begin(), g_abandoningCommands.end(), command) != g_abandoningCommands.end();
}

bool OnUiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void ShowMainWindowIfHidden()
{
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->GetSafeHwnd() != nullptr && !main->IsWindowVisible())
        main->ShowWindow(SW_SHOW);
}

}  // namespace

namespace platform {

WaitEnd AwaitResponsively(const std::function<bool(std::chrono::milliseconds)>& settledWithin,
                          std::chrono::milliseconds bound)
{
    // A nested wait, or one off the UI thread, keeps the windows as they are.
    if (!OnUiThread() || g_wait != nullptr || bound <= kGrace)
        return settledWithin(bound) ? WaitEnd::Settled : WaitEnd::TimedOut;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    if (settledWithin(kGrace))
        return WaitEnd::Settled;

    ResponsiveWait wait;
    g_wait = &wait;
    qApp->installEventFilter(&wait);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ShowMainWindowIfHidden();

    WaitEnd end = WaitEnd::TimedOut;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (wait.abandoned) {
            end = WaitEnd::Abandoned;
            break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left <= 0ms)
            break;
        if (settledWithin(std::min(left, kSlice))) {
            end = WaitEnd::Settled;
            break;
        }
    }

    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(&wait);
    g_wait = nullptr;
    for (const HeldMessage& m : wait.held)
        PostMessageTo(m.window, m.message, m.wParam, m.lParam);
    if (wait.closeAfter) {
        if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetSafeHwnd() != nullptr)
            main->PostMessage(WM_CLOSE, 0, 0);
    }
    return end;
}

void AbandonWaitsOn(UINT command)
{
    if (std::find(g_abandoningCommands.begin(), g_abandoningCommands.end(), command) == g_abandoningCommands.end())
        g_abandoningCommands.push_back(command);
}

bool TakenByResponsiveWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_wait == nullptr)
        return false;
    // A close request, too, is delivered as it was asked for once the wait is over.
    if (IsCloseRequest(message, wParam) || IsAbandoningCommand(message, wParam))
        g_wait->abandoned = true;
    g_wait->held.push_back({window, message, wParam, lParam});
    return true;
}

}  // namespace platform
