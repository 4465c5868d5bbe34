// The popup menu, the option switches, the keys and the command table.

#include "platform/framework/menu.h"
#include "ui/player/menu_state.h"
#include "ui/player/player_dlg.h"

namespace {

struct Command {
    UINT id;
    void (CPlayerDlg::*handler)();
};

// One handler for each command id; what is not here goes on to the application.
constexpr Command kCommands[] = {
    {ID_APP_ABOUT, &CPlayerDlg::OnAppAbout},
    {ID_FILE_OPEN, &CPlayerDlg::OnFileOpen},
    {ID_PLAY_PAUSE, &CPlayerDlg::OnPlayPause},
    {ID_STOP, &CPlayerDlg::OnStop},
    {ID_AUTO_REWIND, &CPlayerDlg::OnAutoRewind},
    {ID_REPEAT, &CPlayerDlg::OnRepeat},
    {ID_STRETCH, &CPlayerDlg::OnStretch},
    {ID_AUTO_ZOOM, &CPlayerDlg::OnAutoZoom},
    {ID_VOLUME_DOWN, &CPlayerDlg::OnVolumeDown},
    {ID_VOLUME_UP, &CPlayerDlg::OnVolumeUp},
    {ID_ZOOM_50, &CPlayerDlg::OnZoom50},
    {ID_ZOOM_200, &CPlayerDlg::OnZoom200},
    {ID_ZOOM_100, &CPlayerDlg::OnZoom100},
    {ID_ZOOM_25, &CPlayerDlg::OnZoom25},
    {ID_ZOOM_MAX, &CPlayerDlg::OnZoomMax},
    {ID_ZOOM_MIN, &CPlayerDlg::OnZoomMin},
};

int Toggled(int value)
{
    return value == 0 ? 1 : 0;
}

}  // namespace

BOOL CPlayerDlg::OnCommand(UINT id)
{
    for (const Command& command : kCommands) {
        if (command.id == id) {
            (this->*command.handler)();
            return TRUE;
        }
    }
    return CDialog::OnCommand(id);
}

void CPlayerDlg::OnContextMenu(CWnd*, POINT point)
{
    if (point.x == -1 && point.y == -1) {
        RECT rc;
        GetClientRect(&rc);
        POINT topLeft{rc.left, rc.top};
        POINT bottomRight{rc.right, rc.bottom};
        ClientToScreen(&topLeft);
        ClientToScreen(&bottomRight);
        point = POINT{topLeft.x + 5, topLeft.y + 5};
    }

    CMenu menu;
    menu.LoadMenu(IDR_POPUP);
    const MenuState state = PopupMenuState(m_nState, m_nVolume,
                                           MenuSwitches{m_bAutoRewind, m_bRepeat, m_bStretch, m_bAutoZoom});
    for (UINT id : state.greyed) menu.EnableMenuItem(id, MF_BYCOMMAND | MF_GRAYED);
    for (UINT id : state.checked) menu.CheckMenuItem(id, MF_BYCOMMAND | MF_CHECKED);

    CMenu* popup = menu.GetSubMenu(0);
    CWnd* owner = this;
    while (owner != nullptr && (owner->GetStyle() & WS_CHILD)) owner = owner->GetParent();
    if (popup != nullptr) popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner);
    menu.DestroyMenu();
}

void CPlayerDlg::OnKeyDown(UINT nChar, UINT, UINT)
{
    // Every key-down steps, auto-repeats included; the state does not gate the keys.
    if (nChar == VK_PRIOR) OnVolumeUp();
    else if (nChar == VK_NEXT) OnVolumeDown();
    Default();
}

void CPlayerDlg::OnAutoRewind()
{
    m_bAutoRewind = Toggled(m_bAutoRewind);
}

void CPlayerDlg::OnRepeat()
{
    m_bRepeat = Toggled(m_bRepeat);
}

void CPlayerDlg::OnStretch()
{
    m_bStretch = Toggled(m_bStretch);
    LayoutVideo();
}

void CPlayerDlg::OnAutoZoom()
{
    m_bAutoZoom = Toggled(m_bAutoZoom);
}
