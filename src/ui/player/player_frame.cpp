// The player window as a window: black background, layout on resize, moving
// by dragging from anywhere, and dropped files.

#include "platform/framework/app.h"
#include "platform/gdi/paint.h"
#include "ui/player/player_dlg.h"

void CPlayerDlg::OnPaint()
{
    // Nothing of its own to paint: the background, the panel and the picture cover it.
    Default();
}

HICON CPlayerDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

BOOL CPlayerDlg::OnEraseBkgnd(CDC* pDC)
{
    if (pDC == nullptr) return TRUE;
    RECT rc;
    GetClientRect(&rc);
    CBrush black(RGB(0, 0, 0));
    pDC->FillRect(&rc, &black);
    black.DeleteObject();
    return TRUE;
}

void CPlayerDlg::OnSize(UINT, int, int)
{
    Default();
    LayoutVideo();
}

void CPlayerDlg::OnLButtonDown(UINT, POINT)
{
    SetCursor(m_hDragCursor);
    SetCapture();
    // The pointer's own position, not the message's point: presses forwarded by the
    // panel or the picture come in their coordinates.
    POINT anchor;
    GetCursorPos(&anchor);
    ScreenToClient(&anchor);
    m_ptDragAnchor = anchor;
    Default();
}

void CPlayerDlg::OnMouseMove(UINT, POINT point)
{
    SetCursor(m_hDragCursor);
    if (GetCapture() == this) {
        RECT rc;
        GetWindowRect(&rc);
        SetWindowPos(nullptr, rc.left + point.x - m_ptDragAnchor.x, rc.top + point.y - m_ptDragAnchor.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
    Default();
}

void CPlayerDlg::OnLButtonUp(UINT, POINT)
{
    ReleaseCapture();
    Default();
}

void CPlayerDlg::OnDropFiles(HDROP hDropInfo)
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr) app->BeginWaitCursor();
    if (CWnd* main = AfxGetMainWnd()) main->SetForegroundWindow();
    else SetForegroundWindow();
    // The whole path: a cut one would open the wrong file or none.
    const std::string path = DragQueryFilePath(hDropInfo, 0);
    DragFinish(hDropInfo);
    OpenAndPlay(path);
    Default();
    if (app != nullptr) app->EndWaitCursor();
}
