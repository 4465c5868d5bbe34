#pragma once
// The window base. A CWnd is a window of our own: it owns a canvas that its
// WM_ERASEBKGND and WM_PAINT handlers draw into, timers by id, mouse capture, and a
// WindowProc through which every message passes. Subclasses map the messages they
// handle in their WindowProc override and hand the rest to the base.
//
// Threads: every member is for the UI thread only, except PostMessage, which any
// thread may call while the window exists.

#include <memory>
#include <string>
#include <vector>

#include "platform/system/win_types.h"

class CDC;
class CWnd;

struct PlatformIcon;
struct PlatformCursor;
struct PlatformDrop;
using HICON = PlatformIcon*;
using HCURSOR = PlatformCursor*;
using HDROP = PlatformDrop*;

inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

// The largest width or height a window takes. Each window keeps its pixels in a
// canvas of its own (4 bytes a pixel), so this keeps one at 256 MiB at most.
inline constexpr int kMaxWindowSide = 8192;

// The smallest outer size of a window with a sizing frame, whatever it is asked
// for: one that has no pixels is never shown, and could not be grabbed to grow it.
// Small enough for a quarter-size picture of a CIF medium (88 x 72).
inline constexpr int kMinTrackWidth = 64;
inline constexpr int kMinTrackHeight = 48;

// How a window is made. Top-level windows are frameless; `sizingFrame` gives them a
// border of our own that resizes the window when dragged.
struct WindowStyle {
    bool child = false;
    bool sizingFrame = false;
    int frameWidth = 4;  // pixels on each side, when sizingFrame
    bool acceptsFocus = true;
};

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creation. `rect` is in the parent's client coordinates for a child, in screen
    // coordinates for a top-level window (the outer rectangle).
    BOOL CreateEx(const WindowStyle& style, const RECT& rect, CWnd* parent);
    BOOL DestroyWindow();
    HWND GetSafeHwnd() const;
    static CWnd* FromHandle(HWND hwnd);
    BOOL IsWindow() const { return GetSafeHwnd() != nullptr; }
    CWnd* GetParent() const;
    DWORD GetStyle() const;  // WS_CHILD for child windows

    // Geometry.
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;  // outer rectangle, screen coordinates
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    void ScreenToClient(POINT* point) const;
    void ClientToScreen(POINT* point) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;

    // State.
    BOOL ShowWindow(int cmd);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;
    BOOL SetForegroundWindow();
    void SetIcon(HICON icon, BOOL big);
    void DragAcceptFiles(BOOL accept);

    // Painting. With RDW_UPDATENOW the invalid area is repainted before the call
    // returns; RDW_ERASE runs WM_ERASEBKGND first, otherwise the old pixels stay.
    BOOL RedrawWindow(const RECT* rect = nullptr, const void* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    void Invalidate(BOOL erase = TRUE);

    // Timers: SetTimer starts or restarts the timer of that id; WM_TIMER carries the id.
    std::uintptr_t SetTimer(std::uintptr_t id, UINT elapseMs, void* proc = nullptr);
    BOOL KillTimer(std::uintptr_t id);

    // Messages. SendMessage runs WindowProc now; PostMessage queues it.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Mouse.
    CWnd* SetCapture();
    static CWnd* GetCapture();
    static BOOL ReleaseCapture();
    static HCURSOR SetCursor(HCURSOR cursor);
    static BOOL GetCursorPos(POINT* point);

    // The desktop: GetDesktopWindow()->GetClientRect gives the screen's size.
    static CWnd* GetDesktopWindow();

    // Messages as the platform reports them, for tests and tools.
    HWND m_hWnd = nullptr;

protected:
    // The message map of the window. The base dispatches nothing itself: it hands
    // the message to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The platform's default processing of a message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled now.
    LRESULT Default();
    // WM_COMMAND: returns TRUE when the id was handled. The base routes to the
    // application object.
    virtual BOOL OnCommand(UINT id);
    // Called after the window is gone (WM_NCDESTROY).
    virtual void PostNcDestroy() {}

private:
    friend struct PlatformWindow;
    friend class CDialog;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void ReleaseWidgets();
    UINT m_curMessage = 0;
    WPARAM m_curWParam = 0;
    LPARAM m_curLParam = 0;
};

// File drops: the paths of one drop, in order.
std::string DragQueryFilePath(HDROP drop, UINT index);
void DragFinish(HDROP drop);

// Icons and cursors from the resource table.
HICON LoadIconResource(UINT id);
HCURSOR LoadCursorResource(UINT id);
HCURSOR LoadWaitCursor();

// The screens' rectangles on the desktop (EnumDisplayMonitors), the primary first.
std::vector<RECT> GetMonitorRects();

// The desktop's settings: SM_CXDRAG and SM_CYDRAG, the pixels a pressed pointer moves
// before the press is a drag; 0 for any other index.
int GetSystemMetrics(int index);
