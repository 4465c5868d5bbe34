// The live windows, and messages posted to them from any thread.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <mutex>
#include <unordered_map>

#include "platform/framework/platform_window.h"
#include "platform/framework/responsive_wait.h"
#include "platform/framework/window_host.h"
#include "platform/framework/window_widgets.h"

namespace {

struct Registry {
    std::mutex mutex;
    std::unordered_map<const PlatformWindow*, std::uint64_t> live;
    std::vector<const PlatformWindow*> order;  // creation order, UI thread only
    std::uint64_t nextSerial = 1;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedMessage : QEvent {
    PostedMessage(PlatformWindow* w, std::uint64_t s, UINT m, WPARAM wp, LPARAM lp)
        : QEvent(kPostedMessage), window(w), serial(s), message(m), wParam(wp), lParam(lp)
    {}
    PlatformWindow* window;
    std::uint64_t serial;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Lives on the UI thread and delivers posted messages there.
class MessagePoster : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != kPostedMessage)
            return QObject::event(e);
        auto* posted = static_cast<PostedMessage*>(e);
        if (platform::TakenByResponsiveWait(posted->window, posted->message, posted->wParam, posted->lParam))
            return true;
        if (platform::IsLiveWindow(posted->window, posted->serial) && posted->window->wnd != nullptr) {
            posted->window->wnd->SendMessage(posted->message, posted->wParam, posted->lParam);
        }
        return true;
    }
};

MessagePoster* g_poster = nullptr;

}  // namespace

namespace platform {

void RegisterWindow(PlatformWindow* window)
{
    if (g_poster == nullptr)
        g_poster = new MessagePoster;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    window->serial = r.nextSerial++;
    r.live[window] = window->serial;
    r.order.push_back(window);
}

void UnregisterWindow(PlatformWindow* window)
{
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.live.erase(window);
    std::erase(r.order, window);
}

bool IsLiveWindow(const PlatformWindow* window, std::uint64_t serial)
{
    if (window == nullptr)
        return false;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.live.find(window);
    return it != r.live.end() && it->second == serial;
}

bool IsLiveHandle(const PlatformWindow* window)
{
    if (window == nullptr)
        return false;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    return r.live.count(window) != 0;
}

std::vector<CWnd*> ChildWindowsOf(const PlatformWindow* window)
{
    std::vector<CWnd*> children;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    for (const PlatformWindow* w : r.order) {
        if (w->parent == window && w->wnd != nullptr)
            children.push_back(w->wnd);
    }
    return children;
}

PlatformWindow* WindowOfWidget(const QWidget* widget)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* client = qobject_cast<const ClientWidget*>(w))
            return client->Window();
    }
    return nullptr;
}

QWidget* ClientWidgetOf(HWND hwnd)
{
    if (!IsLiveHandle(hwnd))
        return nullptr;
    return hwnd->client.data();
}

const QImage* CanvasOf(HWND hwnd)
{
    if (!IsLiveHandle(hwnd) || !hwnd->hasCanvas)
        return nullptr;
    return &hwnd->canvas;
}

PaintCounters PaintCountersOf(HWND hwnd)
{
    if (!IsLiveHandle(hwnd))
        return {};
    return PaintCounters{hwnd->paints, hwnd->paintedPixels};
}

bool PostMessageTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd == nullptr || g_poster == nullptr)
        return false;
    std::uint64_t serial = 0;
    {
        Registry& r = TheRegistry();
        std::lock_guard lock(r.mutex);
        auto it = r.live.find(hwnd);
        if (it == r.live.end())
            return false;
        serial = it->second;
    }
    QCoreApplication::postEvent(g_poster, new PostedMessage(hwnd, serial, message, wParam, lParam));
    return true;
}

}  // namespace platform
