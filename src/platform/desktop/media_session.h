#pragma once
// The player as the desktop sees it: the MPRIS interface on the session bus, through
// which the desktop's media keys and controls reach the player, and the idle screen
// saver held off while a picture plays. Without a session bus it registers nothing and
// says nothing; the screen saver then falls back to the X server's.
//
// The program tells it facts (Refresh reads them through `facts`); what the desktop asks
// for comes back as the menu's commands or through the other hooks. UI thread only.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/mpris_rules.h"
#include "platform/desktop/player_facts.h"

namespace desktop {

struct PlayerIdentity {
    std::string name;          // "Vantrel": shown by the desktop
    std::string busName;       // "vantrel": the name's last part on the bus
    std::string desktopEntry;  // the launcher entry's name without ".desktop"
    std::vector<std::string> uriSchemes;
    std::vector<std::string> mimeTypes;
};

struct PlayerHooks {
    std::function<PlayerFacts()> facts;
    std::function<void(PlayerCommand)> command;    // runs the menu command now
    std::function<double()> position;              // seconds
    std::function<void(double)> seek;              // to seconds from the start
    std::function<void(const std::string&)> open;  // a local path or a URL, to open and play
    std::function<void()> raise;                   // the window to the front
};

class MediaSession {
public:
    MediaSession(PlayerIdentity identity, PlayerHooks hooks);
    ~MediaSession();  // releases the screen saver and leaves the bus
    MediaSession(const MediaSession&) = delete;
    MediaSession& operator=(const MediaSession&) = delete;

    // Reads the facts, announces what changed and takes or releases the screen saver.
    // Cheap when nothing changed.
    void Refresh();

    // The name owned on the session bus; empty without a bus.
    std::string BusName() const;

    class Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace desktop
