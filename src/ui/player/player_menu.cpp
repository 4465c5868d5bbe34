// The popup menu, the option switches, the keys and the command table.

#include <algorithm>
#include <span>

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
    {ID_APP_ABOUT,         &CPlayerDlg::OnAppAbout       },
    {ID_FILE_OPEN,         &CPlayerDlg::OnFileOpen       },
    {ID_PLAY_PAUSE,        &CPlayerDlg::OnPlayPause      },
    {ID_STOP,              &CPlayerDlg::OnStop           },
    {ID_AUTO_REWIND,       &CPlayerDlg::OnAutoRewind     },
    {ID_REPEAT,            &CPlayerDlg::OnRepeat         },
    {ID_STRETCH,           &CPlayerDlg::OnStretch        },
    {ID_AUTO_ZOOM,         &CPlayerDlg::OnAutoZoom       },
    {ID_VOLUME_DOWN,       &CPlayerDlg::OnVolumeDown     },
    {ID_VOLUME_UP,         &CPlayerDlg::OnVolumeUp       },
    {ID_ZOOM_50,           &CPlayerDlg::OnZoom50         },
    {ID_ZOOM_200,          &CPlayerDlg::OnZoom200        },
    {ID_ZOOM_100,          &CPlayerDlg::OnZoom100        },
    {ID_ZOOM_25,           &CPlayerDlg::OnZoom25         },
    {ID_ZOOM_MAX,          &CPlayerDlg::OnZoomMax        },
    {ID_ZOOM_MIN,          &CPlayerDlg::OnZoomMin        },
    {ID_SEEK_FORWARD,      &CPlayerDlg::OnSeekForward    },
    {ID_SEEK_BACK,         &CPlayerDlg::OnSeekBack       },
    {ID_SEEK_FORWARD_LONG, &CPlayerDlg::OnSeekForwardLong},
    {ID_SEEK_BACK_LONG,    &CPlayerDlg::OnSeekBackLong   },
    {ID_SEEK_START,        &CPlayerDlg::OnSeekStart      },
    {ID_NEXT_SUBTITLES,    &CPlayerDlg::OnNextSubtitles  },
    {ID_TOGGLE_SUBTITLES,  &CPlayerDlg::OnToggleSubtitles},
    {ID_NEXT_AUDIO,        &CPlayerDlg::OnNextAudio      },
    {ID_OPEN_REQUESTED,    &CPlayerDlg::OnOpenRequested  },
};

// The keys, each a command as the menu gives it. A gated key does nothing where the
// menu greys its command; the volume keys step whatever the state, as they always did.
struct KeyBinding {
    UINT key;  // a virtual key for WM_KEYDOWN, a character for WM_CHAR
    UINT command;
    bool gated;
};

constexpr KeyBinding kKeys[] = {
    {VK_PRIOR, ID_VOLUME_UP,         false},
    {VK_NEXT,  ID_VOLUME_DOWN,       false},
    {VK_SPACE, ID_PLAY_PAUSE,        true },
    {VK_RIGHT, ID_SEEK_FORWARD,      false},
    {VK_LEFT,  ID_SEEK_BACK,         false},
    {VK_UP,    ID_SEEK_FORWARD_LONG, false},
    {VK_DOWN,  ID_SEEK_BACK_LONG,    false},
    {VK_HOME,  ID_SEEK_START,        false},
};

// Characters as the keyboard layout types them.
constexpr KeyBinding kCharacters[] = {
    {'j', ID_NEXT_SUBTITLES,   false},
    {'v', ID_TOGGLE_SUBTITLES, false},
    {'#', ID_NEXT_AUDIO,       false},
};

MenuState MenuStateOf(const CPlayerDlg& player)
{
    return PopupMenuState(player.m_nState, player.m_nVolume,
                          MenuSwitches{player.m_bAutoRewind, player.m_bRepeat, player.m_bStretch, player.m_bAutoZoom});
}

void RunKeyCommand(CPlayerDlg& player, std::span<const KeyBinding> bindings, UINT key)
{
    const auto binding =
        std::find_if(bindings.begin(), bindings.end(), [key](const KeyBinding& b) { return b.key == key; });
    if (binding == bindings.end())
        return;
    if (binding->gated) {
        const std::vector<UINT> greyed = MenuStateOf(player).greyed;
        if (std::find(greyed.begin(), greyed.end(), binding->command) != greyed.end())
            return;
    }
    player.SendMessage(WM_COMMAND, binding->command, 0);
}

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
    const MenuState state = MenuStateOf(*this);
    for (UINT id : state.greyed)
        menu.EnableMenuItem(id, MF_BYCOMMAND | MF_GRAYED);
    for (UINT id : state.checked)
        menu.CheckMenuItem(id, MF_BYCOMMAND | MF_CHECKED);

    CMenu* popup = menu.GetSubMenu(0);
    CWnd* owner = this;
    while (owner != nullptr && (owner->GetStyle() & WS_CHILD))
        owner = owner->GetParent();
    if (popup != nullptr)
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner);
    menu.DestroyMenu();
}

void CPlayerDlg::OnKeyDown(UINT nChar, UINT, UINT)
{
    // Every key-down counts, auto-repeats included.
    RunKeyCommand(*this, kKeys, nChar);
    Default();
}

void CPlayerDlg::OnChar(UINT nChar, UINT, UINT)
{
    RunKeyCommand(*this, kCharacters, nChar);
    Default();
}

void CPlayerDlg::OnMouseWheel(UINT, short zDelta, POINT)
{
    // One volume step a notch; a fine wheel's turns add up to notches.
    m_nWheelDelta += zDelta;
    while (m_nWheelDelta >= WHEEL_DELTA) {
        m_nWheelDelta -= WHEEL_DELTA;
        SendMessage(WM_COMMAND, ID_VOLUME_UP, 0);
    }
    while (m_nWheelDelta <= -WHEEL_DELTA) {
        m_nWheelDelta += WHEEL_DELTA;
        SendMessage(WM_COMMAND, ID_VOLUME_DOWN, 0);
    }
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
