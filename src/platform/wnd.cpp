#include "platform/wnd.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/app.h"
#include "platform/drop_handle.h"
#include "platform/icon_handles.h"
#include "platform/paint.h"
#include "platform/paint_surface.h"
#include "platform/platform_window.h"
#include "platform/window_host.h"
#include "platform/window_widgets.h"

namespace {

// The DC handed to WM_ERASEBKGND handlers.
class SurfaceDC : public CDC {
public:
    explicit SurfaceDC(PaintSurface* surface) : CDC(surface) {}
};

CWnd* DesktopWindow()
{
    static CWnd desktop;
    return &desktop;
}

// X11 keeps a window's position in 16 bits: a larger one would wrap around onto the
// screen instead of staying off it.
constexpr long long kMinPosition = -32768;
constexpr long long kMaxPosition = 32767;

int ClampPosition(long long v)
{
    return static_cast<int>(std::clamp(v, kMinPosition, kMaxPosition));
}

int ClampSize(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, 0, kMaxWindowSide));
}

// Where a window goes for any 32-bit numbers: off the screen if need be, but at a
// place and size the window system and a canvas can hold.
QRect WindowGeometry(long long x, long long y, long long cx, long long cy)
{
    return QRect(ClampPosition(x), ClampPosition(y), ClampSize(cx), ClampSize(cy));
}

// A rectangle to repaint: only its overlap with a client area matters, so edges far
// outside any window are pulled in before the toolkit does arithmetic on them.
constexpr long long kRepaintReach = 2 * kMaxWindowSide;

QRect RepaintRect(const RECT& r)
{
    const auto edge = [](LONG v) { return std::clamp<long long>(v, -kRepaintReach, kRepaintReach); };
    const long long l = edge(r.left);
    const long long t = edge(r.top);
    const long long w = std::max<long long>(0, edge(r.right) - l);
    const long long h = std::max<long long>(0, edge(r.bottom) - t);
    return QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(w), static_cast<int>(h));
}

RECT ToRECT(const QRect& r)
{
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

LONG ClampToLong(long long v)
{
    return static_cast<LONG>(std::clamp<long long>(v, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

HCURSOR g_currentCursor = nullptr;

}  // namespace

// ---------------------------------------------------------------------------
// PlatformWindow

QRect PlatformWindow::ClientRect() const
{
    return client ? QRect(QPoint(0, 0), client->size()) : QRect();
}

void PlatformWindow::EnsureCanvasSize()
{
    if (!hasCanvas || !client) return;
    const QSize size = client->size().expandedTo(QSize(1, 1)).boundedTo(QSize(kMaxWindowSide, kMaxWindowSide));
    if (canvas.size() == size) return;
    QImage next(size, QImage::Format_RGB32);
    next.fill(Qt::black);
    if (!canvas.isNull()) {
        QPainter copy(&next);
        copy.drawImage(0, 0, canvas);
    }
    canvas = std::move(next);
    invalid = QRegion(QRect(QPoint(0, 0), size));
    eraseNeeded = true;
}

void PlatformWindow::Invalidate(const QRegion& region, bool erase)
{
    if (!client) return;
    const QRegion area = region.intersected(ClientRect());
    if (area.isEmpty()) return;
    invalid += area;
    if (erase) eraseNeeded = true;
    client->update(area);
}

void PlatformWindow::UpdateNow(bool showNow)
{
    if (!client || !hasCanvas || wnd == nullptr) return;
    // A repaint asked for from inside a paint waits for the next one.
    if (surface != nullptr) return;
    EnsureCanvasSize();
    if (invalid.isEmpty()) return;
    const QRegion region = invalid;
    const bool erase = eraseNeeded;
    invalid = QRegion();
    eraseNeeded = false;

    QPainter painter(&canvas);
    painter.setClipRegion(region);
    PaintSurface paint{&painter, QRect(QPoint(0, 0), canvas.size()), ScreenLogPixelsY()};
    surface = &paint;
    const std::uint64_t mySerial = serial;
    if (erase) {
        SurfaceDC dc(&paint);
        wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
    }
    ++paints;
    for (const QRect& r : region) paintedPixels += static_cast<std::uint64_t>(r.width()) * static_cast<std::uint64_t>(r.height());
    if (platform::IsLiveWindow(this, mySerial)) wnd->SendMessage(WM_PAINT, 0, 0);
    if (!platform::IsLiveWindow(this, mySerial)) return;
    surface = nullptr;
    painter.end();
    if (showNow && client) client->update(region);
}

void PlatformWindow::NotifySizeIfChanged()
{
    if (!client || wnd == nullptr || destroying) return;
    const QSize size = client->size();
    if (size == reportedClientSize) return;
    reportedClientSize = size;
    EnsureCanvasSize();
    WPARAM kind = SIZE_RESTORED;
    if (top && top->isMinimized()) kind = SIZE_MINIMIZED;
    else if (top && top->isMaximized()) kind = SIZE_MAXIMIZED;
    wnd->SendMessage(WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
}

// ---------------------------------------------------------------------------
// CWnd

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd == nullptr) return;
    // The derived parts are gone: tear the window down without its handlers.
    PlatformWindow* p = m_hWnd;
    p->destroying = true;
    p->wnd = nullptr;
    platform::UnregisterWindow(p);
    if (auto* c = qobject_cast<ClientWidget*>(p->client.data())) c->Detach();
    if (auto* f = qobject_cast<FrameWidget*>(p->top.data())) f->Detach();
    if (auto* d = qobject_cast<DialogWidget*>(p->top.data())) d->Detach();
    if (p->top) {
        p->top->hide();
        p->top->deleteLater();
    } else if (p->client) {
        p->client->hide();
        p->client->deleteLater();
    }
    m_hWnd = nullptr;
    delete p;
}

BOOL CWnd::CreateEx(const WindowStyle& style, const RECT& rect, CWnd* parent)
{
    if (m_hWnd != nullptr) return FALSE;
    platform::EnsureToolkit();
    auto* p = new PlatformWindow;
    p->wnd = this;
    p->style = style;
    const QRect geometry = WindowGeometry(rect.left, rect.top, static_cast<long long>(rect.right) - rect.left,
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
    }
    if (!style.acceptsFocus) p->client->setFocusPolicy(Qt::NoFocus);
    m_hWnd = p;
    platform::RegisterWindow(p);
    p->NotifySizeIfChanged();
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr || p->destroying) return FALSE;
    p->destroying = true;
    if (GetCapture() == this) ReleaseCapture();
    Dispatch(WM_DESTROY, 0, 0);
    // Children go after their parent has handled its WM_DESTROY.
    for (CWnd* child : platform::ChildWindowsOf(p)) child->DestroyWindow();
    for (const auto& [id, qtId] : p->timers) {
        if (p->client) p->client->killTimer(qtId);
    }
    p->timers.clear();
    platform::UnregisterWindow(p);
    if (auto* c = qobject_cast<ClientWidget*>(p->client.data())) c->Detach();
    if (auto* f = qobject_cast<FrameWidget*>(p->top.data())) f->Detach();
    if (auto* d = qobject_cast<DialogWidget*>(p->top.data())) d->Detach();
    QWidget* outer = p->top ? p->top.data() : p->client.data();
    if (outer != nullptr) {
        outer->hide();
        outer->deleteLater();
    }
    m_hWnd = nullptr;
    delete p;
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
    PostNcDestroy();
    return TRUE;
}

HWND CWnd::GetSafeHwnd() const
{
    return m_hWnd;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!platform::IsLiveHandle(hwnd)) return nullptr;
    return hwnd->wnd;
}

CWnd* CWnd::GetParent() const
{
    if (m_hWnd == nullptr || m_hWnd->parent == nullptr) return nullptr;
    return m_hWnd->parent->wnd;
}

DWORD CWnd::GetStyle() const
{
    return (m_hWnd != nullptr && m_hWnd->style.child) ? WS_CHILD : 0;
}

void CWnd::GetClientRect(RECT* rect) const
{
    if (rect == nullptr) return;
    if (this == DesktopWindow()) {
        platform::EnsureToolkit();
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect g = screen != nullptr ? screen->geometry() : QRect(0, 0, 0, 0);
        *rect = RECT{0, 0, g.width(), g.height()};
        return;
    }
    *rect = (m_hWnd != nullptr) ? ToRECT(m_hWnd->ClientRect()) : RECT{};
}

void CWnd::GetWindowRect(RECT* rect) const
{
    if (rect == nullptr) return;
    if (this == DesktopWindow() || m_hWnd == nullptr) {
        GetClientRect(rect);
        return;
    }
    if (m_hWnd->top) {
        *rect = ToRECT(m_hWnd->top->geometry());
    } else if (m_hWnd->client) {
        const QWidget* c = m_hWnd->client;
        *rect = ToRECT(QRect(c->mapToGlobal(QPoint(0, 0)), c->size()));
    }
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr) return FALSE;
    QWidget* w = p->top ? p->top.data() : p->client.data();
    if (w == nullptr) return FALSE;
    const QRect current = w->geometry();
    const QRect g = WindowGeometry((flags & SWP_NOMOVE) ? current.x() : x, (flags & SWP_NOMOVE) ? current.y() : y,
                                   (flags & SWP_NOSIZE) ? current.width() : cx,
                                   (flags & SWP_NOSIZE) ? current.height() : cy);
    if (g != w->geometry()) w->setGeometry(g);
    if (auto* frame = qobject_cast<FrameWidget*>(p->top.data())) frame->SetClient(p->client);
    p->NotifySizeIfChanged();
    return TRUE;
}

BOOL CWnd::MoveWindow(const RECT& rect, BOOL)
{
    const long long cx = static_cast<long long>(rect.right) - rect.left;
    const long long cy = static_cast<long long>(rect.bottom) - rect.top;
    return SetWindowPos(nullptr, rect.left, rect.top, ClampToLong(cx), ClampToLong(cy), SWP_NOZORDER);
}

void CWnd::ScreenToClient(POINT* point) const
{
    if (point == nullptr || m_hWnd == nullptr || !m_hWnd->client) return;
    const QPoint origin = m_hWnd->client->mapToGlobal(QPoint(0, 0));
    *point = POINT{ClampToLong(static_cast<long long>(point->x) - origin.x()),
                   ClampToLong(static_cast<long long>(point->y) - origin.y())};
}

void CWnd::ClientToScreen(POINT* point) const
{
    if (point == nullptr || m_hWnd == nullptr || !m_hWnd->client) return;
    const QPoint origin = m_hWnd->client->mapToGlobal(QPoint(0, 0));
    *point = POINT{ClampToLong(static_cast<long long>(point->x) + origin.x()),
                   ClampToLong(static_cast<long long>(point->y) + origin.y())};
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const
{
    if (placement == nullptr || m_hWnd == nullptr) return FALSE;
    PlatformWindow* p = m_hWnd;
    if (p->top) {
        // The restored rectangle, also while maximised or minimised.
        QRect normal = p->top->normalGeometry();
        if (!normal.isValid() || normal.isEmpty()) normal = p->top->geometry();
        placement->rcNormalPosition = ToRECT(normal);
        placement->showCmd = p->top->isMinimized() ? static_cast<UINT>(SW_SHOWMINIMIZED) : static_cast<UINT>(SW_SHOWNORMAL);
    } else if (p->client) {
        placement->rcNormalPosition = ToRECT(p->client->geometry());
        placement->showCmd = SW_SHOWNORMAL;
    }
    return TRUE;
}

BOOL CWnd::ShowWindow(int cmd)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr) return FALSE;
    QWidget* w = p->top ? p->top.data() : p->client.data();
    if (w == nullptr) return FALSE;
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
    if (m_hWnd == nullptr) return FALSE;
    const QWidget* w = m_hWnd->top ? m_hWnd->top.data() : m_hWnd->client.data();
    return (w != nullptr && w->isVisible()) ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const
{
    return (m_hWnd != nullptr && m_hWnd->top && m_hWnd->top->isMinimized()) ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (m_hWnd == nullptr) return FALSE;
    QWidget* w = m_hWnd->top ? m_hWnd->top.data() : m_hWnd->client.data();
    if (w == nullptr) return FALSE;
    const BOOL wasDisabled = w->isEnabled() ? FALSE : TRUE;
    w->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    if (m_hWnd == nullptr) return FALSE;
    const QWidget* w = m_hWnd->top ? m_hWnd->top.data() : m_hWnd->client.data();
    return (w != nullptr && w->isEnabled()) ? TRUE : FALSE;
}

void CWnd::SetWindowText(const std::string& text)
{
    if (m_hWnd == nullptr) return;
    m_hWnd->title = text;
    if (m_hWnd->top) m_hWnd->top->setWindowTitle(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::string CWnd::GetWindowText() const
{
    return m_hWnd != nullptr ? m_hWnd->title : std::string();
}

BOOL CWnd::SetForegroundWindow()
{
    if (m_hWnd == nullptr || !m_hWnd->top) return FALSE;
    m_hWnd->top->raise();
    m_hWnd->top->activateWindow();
    return TRUE;
}

void CWnd::SetFocus()
{
    if (m_hWnd != nullptr && m_hWnd->client) m_hWnd->client->setFocus(Qt::OtherFocusReason);
}

void CWnd::SetIcon(HICON icon, BOOL)
{
    if (m_hWnd == nullptr || icon == nullptr) return;
    if (m_hWnd->top) m_hWnd->top->setWindowIcon(icon->icon);
}

void CWnd::DragAcceptFiles(BOOL accept)
{
    if (m_hWnd != nullptr && m_hWnd->client) m_hWnd->client->setAcceptDrops(accept != FALSE);
}

BOOL CWnd::RedrawWindow(const RECT* rect, const void*, UINT flags)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr) return FALSE;
    p->EnsureCanvasSize();
    const QRegion region = rect != nullptr ? QRegion(RepaintRect(*rect)) : QRegion(p->ClientRect());
    if (flags & RDW_INVALIDATE) p->Invalidate(region, (flags & RDW_ERASE) != 0);
    if (flags & RDW_NOERASE) p->eraseNeeded = false;
    if (flags & RDW_UPDATENOW) p->UpdateNow();
    return TRUE;
}

void CWnd::Invalidate(BOOL erase)
{
    if (m_hWnd != nullptr) m_hWnd->Invalidate(QRegion(m_hWnd->ClientRect()), erase != FALSE);
}

void CWnd::UpdateWindow()
{
    if (m_hWnd != nullptr) m_hWnd->UpdateNow();
}

std::uintptr_t CWnd::SetTimer(std::uintptr_t id, UINT elapseMs, void*)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr || !p->client) return 0;
    if (auto it = p->timers.find(id); it != p->timers.end()) {
        p->client->killTimer(it->second);
        p->timers.erase(it);
    }
    const int qtId = p->client->startTimer(static_cast<int>(std::min<UINT>(elapseMs, 0x7FFFFFFF)));
    if (qtId == 0) return 0;
    p->timers[id] = qtId;
    return id;
}

BOOL CWnd::KillTimer(std::uintptr_t id)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr) return FALSE;
    auto it = p->timers.find(id);
    if (it == p->timers.end()) return FALSE;
    if (p->client) p->client->killTimer(it->second);
    p->timers.erase(it);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr) return 0;
    return Dispatch(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return platform::PostMessageTo(m_hWnd, message, wParam, lParam) ? TRUE : FALSE;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT savedMessage = m_curMessage;
    const WPARAM savedW = m_curWParam;
    const LPARAM savedL = m_curLParam;
    m_curMessage = message;
    m_curWParam = wParam;
    m_curLParam = lParam;
    const LRESULT result = WindowProc(message, wParam, lParam);
    m_curMessage = savedMessage;
    m_curWParam = savedW;
    m_curLParam = savedL;
    return result;
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_curMessage, m_curWParam, m_curLParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && OnCommand(LOWORD(wParam))) return 0;
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnCommand(UINT id)
{
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->OnCmdMsg(id) : FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_CONTEXTMENU:
        // A child hands the request up to its parent.
        if (CWnd* parent = GetParent(); parent != nullptr && (GetStyle() & WS_CHILD)) {
            return parent->SendMessage(WM_CONTEXTMENU, wParam, lParam);
        }
        return 0;
    case WM_SYSCOMMAND:
        switch (static_cast<UINT>(wParam) & 0xFFF0) {
        case SC_MINIMIZE: ShowWindow(SW_MINIMIZE); break;
        case SC_MAXIMIZE:
            if (m_hWnd != nullptr && m_hWnd->top) m_hWnd->top->showMaximized();
            break;
        case SC_RESTORE: ShowWindow(SW_RESTORE); break;
        case SC_CLOSE: SendMessage(WM_CLOSE, 0, 0); break;
        default: break;
        }
        return 0;
    case WM_SETICON:
        SetIcon(reinterpret_cast<HICON>(lParam), wParam == ICON_BIG ? TRUE : FALSE);
        return 0;
    case WM_SETTEXT:
        if (lParam != 0) SetWindowText(reinterpret_cast<const char*>(lParam));
        return TRUE;
    case WM_ERASEBKGND:
        if (auto* dc = reinterpret_cast<CDC*>(wParam); dc != nullptr && m_hWnd != nullptr) {
            RECT rc;
            GetClientRect(&rc);
            CBrush face(RGB(0, 0, 0));
            dc->FillRect(&rc, &face);
        }
        return TRUE;
    default:
        return 0;
    }
}

CWnd* CWnd::SetCapture()
{
    CWnd* previous = GetCapture();
    if (m_hWnd != nullptr && m_hWnd->client) m_hWnd->client->grabMouse();
    return previous;
}

CWnd* CWnd::GetCapture()
{
    PlatformWindow* p = platform::WindowOfWidget(QWidget::mouseGrabber());
    return p != nullptr ? p->wnd : nullptr;
}

BOOL CWnd::ReleaseCapture()
{
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    return TRUE;
}

HCURSOR CWnd::SetCursor(HCURSOR cursor)
{
    HCURSOR previous = g_currentCursor;
    g_currentCursor = cursor;
    QWidget* target = QWidget::mouseGrabber();
    if (target == nullptr) target = QApplication::widgetAt(QCursor::pos());
    PlatformWindow* p = platform::WindowOfWidget(target);
    while (p != nullptr && p->parent != nullptr) p = p->parent;
    if (p != nullptr && p->client) {
        if (cursor != nullptr) p->client->setCursor(cursor->cursor);
        else p->client->unsetCursor();
    }
    return previous;
}

BOOL CWnd::GetCursorPos(POINT* point)
{
    if (point == nullptr) return FALSE;
    const QPoint p = QCursor::pos();
    *point = POINT{p.x(), p.y()};
    return TRUE;
}

CWnd* CWnd::GetDesktopWindow()
{
    return DesktopWindow();
}

// ---------------------------------------------------------------------------
// Drops

UINT DragQueryFileCount(HDROP drop)
{
    return drop != nullptr ? static_cast<UINT>(drop->paths.size()) : 0;
}

std::string DragQueryFilePath(HDROP drop, UINT index)
{
    if (drop == nullptr || index >= drop->paths.size()) return {};
    return drop->paths[index];
}

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT bufferSize)
{
    if (drop == nullptr) return 0;
    if (index == 0xFFFFFFFFu) return DragQueryFileCount(drop);
    if (index >= drop->paths.size()) return 0;
    const std::string& path = drop->paths[index];
    if (buffer == nullptr || bufferSize == 0) return static_cast<UINT>(path.size());
    const std::size_t n = std::min<std::size_t>(path.size(), bufferSize - 1);
    std::memcpy(buffer, path.data(), n);
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

void DragFinish(HDROP drop)
{
    delete drop;
}
