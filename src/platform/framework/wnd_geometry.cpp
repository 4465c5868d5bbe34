#include "platform/framework/wnd.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "platform/framework/platform_window.h"
#include "platform/framework/window_geometry.h"
#include "platform/framework/window_widgets.h"
#include "platform/toolkit/toolkit.h"

namespace {

// The desktop: its client rectangle is the primary screen's.
CWnd* DesktopWindow()
{
    static CWnd desktop;
    return &desktop;
}

}  // namespace

void CWnd::GetClientRect(RECT* rect) const
{
    if (rect == nullptr)
        return;
    if (this == DesktopWindow()) {
        platform::EnsureToolkit();
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect g = screen != nullptr ? screen->geometry() : QRect(0, 0, 0, 0);
        *rect = RECT{0, 0, g.width(), g.height()};
        return;
    }
    *rect = (m_hWnd != nullptr) ? platform::ToRECT(m_hWnd->ClientRect()) : RECT{};
}

void CWnd::GetWindowRect(RECT* rect) const
{
    if (rect == nullptr)
        return;
    if (this == DesktopWindow() || m_hWnd == nullptr) {
        GetClientRect(rect);
        return;
    }
    if (m_hWnd->top) {
        *rect = platform::ToRECT(m_hWnd->top->geometry());
    } else if (m_hWnd->client) {
        const QWidget* c = m_hWnd->client;
        *rect = platform::ToRECT(QRect(c->mapToGlobal(QPoint(0, 0)), c->size()));
    }
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr)
        return FALSE;
    QWidget* w = p->top ? p->top.data() : p->client.data();
    if (w == nullptr)
        return FALSE;
    const QRect current = w->geometry();
    const QRect g = platform::WindowGeometry(
        (flags & SWP_NOMOVE) ? current.x() : x, (flags & SWP_NOMOVE) ? current.y() : y,
        (flags & SWP_NOSIZE) ? current.width() : cx, (flags & SWP_NOSIZE) ? current.height() : cy);
    // Where the compositor places the windows, a window dragged with the button held is
    // moved by the compositor: the program's moves would go nowhere.
    if (p->top && !platform::PlacesItsWindows() && g.topLeft() != current.topLeft() &&
        (QGuiApplication::mouseButtons() & Qt::LeftButton) && w->windowHandle() != nullptr &&
        QWidget::mouseGrabber() != nullptr && QWidget::mouseGrabber()->window() == w)
        w->windowHandle()->startSystemMove();
    if (g != w->geometry())
        w->setGeometry(g);
    if (auto* frame = qobject_cast<FrameWidget*>(p->top.data()))
        frame->SetClient(p->client);
    p->NotifySizeIfChanged();
    return TRUE;
}

BOOL CWnd::MoveWindow(const RECT& rect, BOOL)
{
    const long long cx = static_cast<long long>(rect.right) - rect.left;
    const long long cy = static_cast<long long>(rect.bottom) - rect.top;
    return SetWindowPos(nullptr, rect.left, rect.top, platform::ClampToLong(cx), platform::ClampToLong(cy),
                        SWP_NOZORDER);
}

void CWnd::ScreenToClient(POINT* point) const
{
    if (point == nullptr || m_hWnd == nullptr || !m_hWnd->client)
        return;
    const QPoint origin = m_hWnd->client->mapToGlobal(QPoint(0, 0));
    *point = POINT{platform::ClampToLong(static_cast<long long>(point->x) - origin.x()),
                   platform::ClampToLong(static_cast<long long>(point->y) - origin.y())};
}

void CWnd::ClientToScreen(POINT* point) const
{
    if (point == nullptr || m_hWnd == nullptr || !m_hWnd->client)
        return;
    const QPoint origin = m_hWnd->client->mapToGlobal(QPoint(0, 0));
    *point = POINT{platform::ClampToLong(static_cast<long long>(point->x) + origin.x()),
                   platform::ClampToLong(static_cast<long long>(point->y) + origin.y())};
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const
{
    if (placement == nullptr || m_hWnd == nullptr)
        return FALSE;
    PlatformWindow* p = m_hWnd;
    if (p->top) {
        // The restored rectangle, also while maximised or minimised.
        QRect normal = p->top->normalGeometry();
        if (!normal.isValid() || normal.isEmpty())
            normal = p->top->geometry();
        placement->rcNormalPosition = platform::ToRECT(normal);
        placement->showCmd =
            p->top->isMinimized() ? static_cast<UINT>(SW_SHOWMINIMIZED) : static_cast<UINT>(SW_SHOWNORMAL);
    } else if (p->client) {
        placement->rcNormalPosition = platform::ToRECT(p->client->geometry());
        placement->showCmd = SW_SHOWNORMAL;
    }
    return TRUE;
}

BOOL CWnd::ShowWindow(int cmd)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr)
        return FALSE;
    QWidget* w = p->top ? p->top.data() : p->client.data();
    if (w == nullptr)
        return FALSE;
    const BOOL wasVisible = w->isVisible() ? TRUE : FALSE;
    switch (cmd) {
    case SW_HIDE: w->hide(); break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED: w->showMinimized(); break;
    case SW_SHOWMAXIMIZED: w->showMaximized(); break;
    case SW_RESTORE: w->showNormal(); break;
    default: w->show(); break;
    }
    p->NotifySizeIfChanged();
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    if (m_hWnd == nullptr)
        return FALSE;
    const QWidget* w = m_hWnd->top ? m_hWnd->top.data() : m_hWnd->client.data();
    return (w != nullptr && w->isVisible()) ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const
{
    return (m_hWnd != nullptr && m_hWnd->top && m_hWnd->top->isMinimized()) ? TRUE : FALSE;
}

CWnd* CWnd::GetDesktopWindow()
{
    return DesktopWindow();
}

std::vector<RECT> GetMonitorRects()
{
    platform::EnsureToolkit();
    std::vector<RECT> monitors;
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        screens.removeAll(primary);
        screens.prepend(primary);
    }
    for (const QScreen* screen : screens) {
        const QRect g = screen->geometry();
        monitors.push_back(RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    }
    return monitors;
}
