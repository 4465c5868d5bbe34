// The player window as a window: black background, layout on resize, moving
// by dragging from anywhere, and dropped files.

#include <cstdlib>

#include "platform/framework/app.h"
#include "platform/gdi/paint.h"
#include "ui/label/info_text.h"
#include "ui/player/player_dlg.h"

namespace {

// Where a screen point falls on the label panel, in the panel's coordinates, and the panel's width.
struct PanelPoint {
    POINT at;
    int width;
};

PanelPoint OnPanel(const CLabelPanel& panel, POINT screen)
{
    panel.ScreenToClient(&screen);
    RECT rc;
    panel.GetClientRect(&rc);
    return PanelPoint{screen, static_cast<int>(rc.right)};
}

bool MovedFarEnoughToDrag(POINT from, POINT to)
{
    return std::abs(to.x - from.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(to.y - from.y) > GetSystemMetrics(SM_CYDRAG);
}

}  // namespace

void CPlayerDlg::OnPaint()
{
    // Nothing of its own to paint: the background, the panel and the picture cover it.
    Default();
}

BOOL CPlayerDlg::OnEraseBkgnd(CDC* pDC)
{
    if (pDC == nullptr)
        return TRUE;
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
    m_ptPressed = anchor;
    m_bBarPressed = FALSE;
    if (m_wndLabel.IsWindow() && m_wndLabel.ShowsProgressBar()) {
        const PanelPoint onPanel = OnPanel(m_wndLabel, anchor);
        m_bBarPressed = IsOnProgressBar(onPanel.at.x, onPanel.at.y, onPanel.width);
    }
    ScreenToClient(&anchor);
    m_ptDragAnchor = anchor;
    Default();
}

void CPlayerDlg::OnMouseMove(UINT, POINT point)
{
    SetCursor(m_hDragCursor);
    if (GetCapture() == this && m_bBarPressed) {
        // A press on the bar stays a click until it moves as far as a drag.
        POINT now;
        GetCursorPos(&now);
        if (!MovedFarEnoughToDrag(m_ptPressed, now)) {
            Default();
            return;
        }
        m_bBarPressed = FALSE;
    }
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
    const BOOL clickedBar = m_bBarPressed;
    m_bBarPressed = FALSE;
    ReleaseCapture();
    if (clickedBar && m_wndLabel.IsWindow()) {
        const PanelPoint pressed = OnPanel(m_wndLabel, m_ptPressed);
        if (const std::optional<double> fraction = ProgressFractionAt(pressed.at.x, pressed.width))
            SeekToFraction(*fraction);
    }
    Default();
}

void CPlayerDlg::OnDropFiles(HDROP hDropInfo)
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr)
        app->BeginWaitCursor();
    if (CWnd* main = AfxGetMainWnd())
        main->SetForegroundWindow();
    else
        SetForegroundWindow();
    // The whole path: a cut one would open the wrong file or none.
    const std::string path = DragQueryFilePath(hDropInfo, 0);
    DragFinish(hDropInfo);
    OpenAndPlay(path);
    Default();
    if (app != nullptr)
        app->EndWaitCursor();
}
