#pragma once
// The real player on a private X server and a private session bus, reached from outside
// as the desktop reaches it: playerctl, dbus-send and dbus-monitor.

#include <string>
#include <vector>

#include "e2e/player_fixture.h"
#include "platform/desktop/private_bus.h"

namespace desktop_test {

inline constexpr const char* kBusName = "org.mpris.MediaPlayer2.vantrel";

class DesktopPlayerTest : public e2e::PlayerTest {
protected:
    // playerctl aimed at our player.
    std::string Ctl(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"playerctl", "--player=vantrel"});
        return m_bus.Run(args);
    }
    bool WaitForStatus(const std::string& status)
    {
        return e2e::Eventually([&] { return Ctl({"status"}) == status; });
    }
    // A property as dbus-send prints it, for example `string "Vantrel"`.
    std::string Property(const std::string& interface, const std::string& name)
    {
        const std::string reply = m_bus.Run(
            {"dbus-send", "--session", "--print-reply", std::string("--dest=") + kBusName, "/org/mpris/MediaPlayer2",
             "org.freedesktop.DBus.Properties.Get", "string:" + interface, "string:" + name});
        const auto variant = reply.find("variant");
        if (variant == std::string::npos)
            return reply;
        const auto value = reply.find_first_not_of(' ', variant + 7);
        return value == std::string::npos ? std::string() : reply.substr(value);
    }
    // The desktop's Quit, then the player's end.
    harness::ExitStatus Quit()
    {
        m_bus.Run({"dbus-send", "--session", "--print-reply", std::string("--dest=") + kBusName,
                   "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"});
        return WaitForExit();
    }

    PrivateBus m_bus;
};

}  // namespace desktop_test
