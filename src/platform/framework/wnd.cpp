#include "platform/framework/wnd.h"

#include "platform/framework/app.h"
#include "platform/framework/platform_window.h"
#include "platform/framework/window_geometry.h"
#include "platform/framework/window_widgets.h"
#include "platform/toolkit/toolkit.h"

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd == nullptr)
        return;
    // The derived parts are gone: tear the window down without its handlers.
    m_hWnd->destroying = true;
    m_hWnd->wnd = nullptr;
    ReleaseWidgets();
}

void CWnd::ReleaseWidgets()
{
    // The one way a window's record and widgets go, whether destroyed or just deleted.
    PlatformWindow* p = m_hWnd;
    for (const auto& [id, qtId] : p->timers) {
        if (p->client)
            p->client->killTimer(qtId);
    }
    p->timers.clear();
    platform::UnregisterWindow(p);
    if (auto* c = qobject_cast<ClientWidget*>(p->client.data()))
        c->Detach();
    if (auto* f = qobject_cast<FrameWidget*>(p->top.data()))
        f->Detach();
    if (auto* d = qobject_cast<DialogWidget*>(p->top.data()))
        d->Detach();
    QWidget* outer = p->top ? p->top.data() : p->client.data();
    if (outer != nullptr) {
        outer->hide();
        outer->deleteLater();
    }
    m_hWnd = nullptr;
    delete p;
}

BOOL CWnd::CreateEx(const WindowStyle& style, const RECT& rect, CWnd* parent)
{
    if (m_hWnd != nullptr)
        return FALSE;
    platform::EnsureToolkit();
    auto* p = new PlatformWindow;
    p->wnd = this;
    p->style = style;
    const QRect geometry = platform::WindowGeometry(rect.left, rect.top, static_cast<long long>(rect.right) - rect.left,
                                                    static_cast<long long>(rect.bottom) - rect.top);
    if (style.child) {
        if (parent == nullptr || parent->m_hWnd == nullptr || !parent->m_hWnd->client) {
            delete p;
            return FALSE;
        }
        p->parent = parent->m_hWnd;
        auto* client = new ClientWidget(p, parent->m_hWnd->client);
        client->setGeometry(geometry);
        client->hide();
        p->client = client;
    } else {
        auto* frame = new FrameWidget(p, style.sizingFrame ? style.frameWidth : 0);
        auto* client = new ClientWidget(p, frame);
        client->setFocusPolicy(Qt::StrongFocus);
        frame->setGeometry(geometry);
        frame->SetClient(client);
        p->top = frame;
        p->client = client;
        // The window system's window is made now rather than at the first show, which
        // often waits on slower work (a medium's open) that it can go beside.
        frame->winId();
    }
    if (!style.acceptsFocus)
        p->client->setFocusPolicy(Qt::NoFocus);
    m_hWnd = p;
    platform::RegisterWindow(p);
    p->NotifySizeIfChanged();
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr || p->destroying)
        return FALSE;
    p->destroying = true;
    if (GetCapture() == this)
        ReleaseCapture();
    Dispatch(WM_DESTROY, 0, 0);
    // Children go after their parent has handled its WM_DESTROY.
    for (CWnd* child : platform::ChildWindowsOf(p))
        child->DestroyWindow();
    ReleaseWidgets();
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    PostNcDestroy();
    return TRUE;
}

HWND CWnd::GetSafeHwnd() const
{
    return m_hWnd;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!platform::IsLiveHandle(hwnd))
        return nullptr;
    return hwnd->wnd;
}

CWnd* CWnd::GetParent() const
{
    if (m_hWnd == nullptr || m_hWnd->parent == nullptr)
        return nullptr;
    return m_hWnd->parent->wnd;
}

DWORD CWnd::GetStyle() const
{
    return (m_hWnd != nullptr && m_hWnd->style.child) ? WS_CHILD : 0;
}
