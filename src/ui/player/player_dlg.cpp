// The player window's life: construction, set-up, the ways it ends, teardown.

#include "ui/player/player_dlg.h"

#include <cstdio>

#include "platform/desktop/media_session.h"
#include "platform/framework/app.h"
#include "platform/com/com.h"
#include "platform/toolkit/toolkit.h"
#include "ui/player/screen_place.h"

namespace {

constexpr const char* kSection = "System";

int ReadSetting(const char* entry, int defaultValue)
{
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->GetProfileInt(kSection, entry, defaultValue) : defaultValue;
}

void WriteSetting(const char* entry, int value)
{
    if (CWinApp* app = AfxGetApp()) app->WriteProfileInt(kSection, entry, value);
}

}  // namespace

CPlayerDlg::CPlayerDlg(CWnd* pParent) : CDialog(IDD_PLAYER, pParent)
{
    m_hIcon = LoadIconResource(IDR_MAINFRAME);
    CoInitialize(nullptr);
    m_bAutoRewind = ReadSetting("AutoRewind", 1);
    m_bRepeat = ReadSetting("Repeat", 0);
    m_bAutoZoom = ReadSetting("Zoom", 0);
    m_bStretch = ReadSetting("StretchWindow", 0);
    m_nVolume = ReadSetting("Volume", 5);
    m_strURL = "http://";
}

CPlayerDlg::~CPlayerDlg() = default;

void CPlayerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CPlayerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // No system menu to extend here: the window manager owns the window menu.
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    DragAcceptFiles(TRUE);
    SetWindowText("Telvo");
    m_hDragCursor = LoadCursorResource(IDC_DRAG);

    m_wndLabel.Create(IDD_LABEL_PANEL, this);
    m_wndLabel.ShowWindow(SW_SHOW);

    const int x = ReadSetting("x", -1);
    const int y = ReadSetting("y", -1);
    const int cx = ReadSetting("cx", -1);
    const int cy = ReadSetting("cy", -1);
    if (x == -1 && y == -1 && cx == -1 && cy == -1) {
        SetZoom(-1.0);
    } else if (!platform::PlacesItsWindows()) {
        // The compositor places the window: only its size is the player's to restore.
        std::fprintf(stderr, "vantrel: the window system places the window itself; its saved place is not used\n");
        SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    } else {
        // A place that no screen shows any more comes back onto the nearest one.
        const WindowPos place = PlaceOnScreens(WindowPos{x, y, cx, cy}, GetMonitorRects());
        SetWindowPos(nullptr, place.x, place.y, place.cx, place.cy, SWP_NOZORDER);
    }

    // The resize above laid nothing out (no picture yet), so the panel takes the client area here.
    RECT rc;
    GetClientRect(&rc);
    m_wndLabel.SetWindowPos(nullptr, 0, 0, rc.right, rc.bottom, SWP_NOMOVE | SWP_NOZORDER);

    StartDesktopSession();
    if (!m_strInitialPath.empty()) OpenAndPlay(m_strInitialPath);
    return TRUE;
}

void CPlayerDlg::OnOK()
{
    // Enter does not close the player.
}

void CPlayerDlg::OnCancel()
{
    CDialog::OnCancel();
}

void CPlayerDlg::OnDestroy()
{
    Default();
    EndDesktopSession();
    ReleaseGraph();
    WriteSetting("AutoRewind", m_bAutoRewind);
    WriteSetting("Repeat", m_bRepeat);
    WriteSetting("Zoom", m_bAutoZoom);
    WriteSetting("StretchWindow", m_bStretch);
    WriteSetting("Volume", m_nVolume);
    WINDOWPLACEMENT placement;
    placement.length = sizeof(WINDOWPLACEMENT);
    GetWindowPlacement(&placement);
    const RECT& r = placement.rcNormalPosition;
    WriteSetting("x", r.left);
    WriteSetting("y", r.top);
    WriteSetting("cx", r.right - r.left);
    WriteSetting("cy", r.bottom - r.top);
    CoUninitialize();
}
