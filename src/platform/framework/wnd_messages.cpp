#include "platform/framework/wnd.h"

#include "platform/framework/app.h"
#include "platform/framework/platform_window.h"
#include "platform/framework/responsive_wait.h"
#include "platform/framework/window_host.h"
#include "platform/gdi/paint.h"

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return 0;
    // A command from outside (the desktop) while an open keeps the windows alive would
    // run inside that open: it waits for its end, as a posted one does.
    if (message == WM_COMMAND && platform::TakenByResponsiveWait(m_hWnd, message, wParam, lParam))
        return 0;
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
    if (message == WM_COMMAND && OnCommand(LOWORD(wParam)))
        return 0;
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
    case WM_CLOSE: DestroyWindow(); return 0;
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
            if (m_hWnd != nullptr && m_hWnd->top)
                m_hWnd->top->showMaximized();
            break;
        case SC_RESTORE: ShowWindow(SW_RESTORE); break;
        case SC_CLOSE: SendMessage(WM_CLOSE, 0, 0); break;
        default: break;
        }
        return 0;
    case WM_SETICON: SetIcon(reinterpret_cast<HICON>(lParam), wParam == ICON_BIG ? TRUE : FALSE); return 0;
    case WM_SETTEXT:
        if (lParam != 0)
            SetWindowText(reinterpret_cast<const char*>(lParam));
        return TRUE;
    case WM_ERASEBKGND:
        if (auto* dc = reinterpret_cast<CDC*>(wParam); dc != nullptr && m_hWnd != nullptr) {
            RECT rc;
            GetClientRect(&rc);
            CBrush face(RGB(0, 0, 0));
            dc->FillRect(&rc, &face);
        }
        return TRUE;
    default: return 0;
    }
}
