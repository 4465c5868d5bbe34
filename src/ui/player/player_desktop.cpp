// The player as the desktop sees it: the facts its media controls and the screen saver
// follow, and the hooks through which they reach the player. Requests arrive as the
// menu's commands, so the command table stays the one way in.

#include <sstream>

#include "engine/interface_ptr.h"
#include "engine/volume_scale.h"
#include "platform/com/dshow.h"
#include "platform/framework/app.h"
#include "platform/desktop/media_session.h"
#include "ui/desktop_entry_types.h"
#include "ui/label/info_text.h"
#include "ui/player/player_dlg.h"

namespace {

desktop::Playback PlaybackOf(int state)
{
    switch (state) {
    case STATE_PLAYING: return desktop::Playback::Playing;
    case STATE_PAUSED: return desktop::Playback::Paused;
    case STATE_STOPPED: return desktop::Playback::Stopped;
    default: return desktop::Playback::None;
    }
}

UINT CommandId(desktop::PlayerCommand command)
{
    switch (command) {
    case desktop::PlayerCommand::PlayPause: return ID_PLAY_PAUSE;
    case desktop::PlayerCommand::Stop: return ID_STOP;
    case desktop::PlayerCommand::VolumeUp: return ID_VOLUME_UP;
    case desktop::PlayerCommand::VolumeDown: return ID_VOLUME_DOWN;
    case desktop::PlayerCommand::Repeat: return ID_REPEAT;
    case desktop::PlayerCommand::Close: break;
    }
    return static_cast<UINT>(IDCANCEL);
}

std::vector<std::string> SplitList(const char* list)
{
    std::vector<std::string> items;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ';');) {
        if (!item.empty())
            items.push_back(item);
    }
    return items;
}

}  // namespace

void CPlayerDlg::StartDesktopSession()
{
    desktop::PlayerIdentity identity{
        .name = "Vantrel",
        .busName = "vantrel",
        .desktopEntry = "vantrel",
        .uriSchemes = {"file", "http", "https"},
        .mimeTypes = SplitList(kDesktopEntryMimeTypes),
    };
    desktop::PlayerHooks hooks{
        .facts = [this] { return DesktopFacts(); },
        .command =
            [this](desktop::PlayerCommand command) {
                // A close goes the way of a termination signal: past any dialog in the way.
                if (command == desktop::PlayerCommand::Close)
                    platform::RequestClose();
                else
                    SendMessage(WM_COMMAND, CommandId(command), 0);
            },
        .position =
            [this] {
                double position = 0.0;
                if (m_pPosition != nullptr)
                    m_pPosition->get_CurrentPosition(&position);
                return position;
            },
        .seek =
            [this](double seconds) {
                SeekTo(seconds);
                UpdateStatus(TRUE);
            },
        .open =
            [this](const std::string& path) {
                m_strRequestedOpen = path;
                SendMessage(WM_COMMAND, ID_OPEN_REQUESTED, 0);
            },
        .raise =
            [this] {
                if (IsIconic())
                    ShowWindow(SW_RESTORE);
                SetForegroundWindow();
            },
    };
    m_pDesktop = std::make_unique<desktop::MediaSession>(std::move(identity), std::move(hooks));
    platform::AbandonWaitsForCommand(ID_OPEN_REQUESTED);
}

void CPlayerDlg::OnOpenRequested()
{
    std::string path;
    std::swap(path, m_strRequestedOpen);
    if (!path.empty())
        OpenAndPlay(path);
}

void CPlayerDlg::EndDesktopSession()
{
    m_pDesktop.reset();
}

void CPlayerDlg::RefreshDesktop()
{
    if (m_pDesktop)
        m_pDesktop->Refresh();
}

void CPlayerDlg::ReadMediumTags()
{
    m_tags = MediumTags{};
    const engine::ScopedInterface<IMediaTags> tags(m_pGraph, IID_IMediaTags);
    if (tags && !m_strPath.empty())
        tags->GetTags(&m_tags);
}

desktop::PlayerFacts CPlayerDlg::DesktopFacts() const
{
    const bool open = !m_strPath.empty();
    return desktop::PlayerFacts{
        .playback = PlaybackOf(m_nState),
        // A song's cover stands still: the screen may sleep as for any sound.
        .hasPicture = open && m_rcSource.width > 0 && m_rcSource.height > 0 && !m_tags.coverIsPicture,
        .title = !open || m_tags.title.empty() ? FileNameFromPath(m_strPath) : m_tags.title,
        .artist = open ? m_tags.artist : std::string(),
        .album = open ? m_tags.album : std::string(),
        .cover = open ? m_tags.cover : nullptr,
        .coverType = open ? m_tags.coverType : std::string(),
        .location = m_strPath,
        .lengthSeconds = open ? m_dDuration : 0.0,
        .volumeLevel = m_nVolume,
        .loudestVolume = kLoudestVolume,
        .repeat = m_bRepeat != 0,
        .seeks = m_nSeekCount,
    };
}
