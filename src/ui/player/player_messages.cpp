// The player window's message map: each message goes to exactly one handler.

#include "ui/player/player_dlg.h"

namespace {

POINT PointOf(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The messages after which the desktop's view of the player may differ: commands (the
// menu's, the keys', the desktop's own), the graph's events, a drop, a click on the
// bar, the window's start. Moves of the pointer and paints change nothing it sees.
bool ChangesTheDesktopsView(UINT message)
{
    switch (message) {
    case WM_COMMAND:
    case WM_GRAPHNOTIFY:
    case WM_DROPFILES:
    case WM_LBUTTONUP:
    case WM_INITDIALOG: return true;
    default: return false;
    }
}

}  // namespace

LRESULT CPlayerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = HandleMessage(message, wParam, lParam);
    if (ChangesTheDesktopsView(message))
        RefreshDesktop();
    return result;
}

LRESULT CPlayerDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CONTEXTMENU: OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), PointOf(lParam)); return 0;
    case WM_SYSCOMMAND: OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam)); return 0;
    case WM_LBUTTONUP: OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam)); return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
               HIWORD(static_cast<std::uintptr_t>(lParam)));
        return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
                  HIWORD(static_cast<std::uintptr_t>(lParam)));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
               HIWORD(static_cast<std::uintptr_t>(lParam)));
        return 0;
    case WM_MOUSEWHEEL: OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam), PointOf(lParam)); return 0;
    case WM_GRAPHNOTIFY: return OnGraphNotify(wParam, lParam);
    default: return CDialog::WindowProc(message, wParam, lParam);
    }
}
