// The idle screen saver is held off while a picture plays and let go otherwise, through a
// stand-in for the desktop's service on the private bus that logs the calls it gets.

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/desktop/desktop_fixture.h"
#include "support/test_media.h"

namespace desktop_test {
namespace {

using e2e::Eventually;

class ScreenSaver : public DesktopPlayerTest {
protected:
    void StartStandIn(const std::vector<std::string>& options = {})
    {
        std::vector<std::string> argv{SCREEN_SAVER_STANDIN};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.push_back(LogPath());
        m_standIn.emplace(harness::Command{.argv = argv});
        ASSERT_TRUE(Eventually([&] { return Log() == "ready\n"; })) << "the stand-in never took its name";
    }
    std::string LogPath() const { return m_config / "screen_saver.txt"; }
    std::string Log() const
    {
        std::ifstream in(LogPath());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool WaitForLog(const std::string& expected)
    {
        return Eventually([&] { return Log() == expected; });
    }

    std::optional<harness::Process> m_standIn;
};

TEST_F(ScreenSaver, HeldWhileAPicturePlaysLetGoOnPauseAndAtClose)
{
    StartStandIn();
    WriteSettings({
        {"Repeat", 1}
    });
    Launch({MediaPath(test_media::kClipAvi.name)});
    ASSERT_TRUE(WaitForLog("ready\nInhibit 41 Vantrel \"Playing a video\"\n")) << Log();
    Ctl({"pause"});
    EXPECT_TRUE(WaitForLog("ready\nInhibit 41 Vantrel \"Playing a video\"\nUnInhibit 41\n")) << Log();
    Ctl({"play"});
    EXPECT_TRUE(WaitForLog("ready\nInhibit 41 Vantrel \"Playing a video\"\nUnInhibit 41\n"
                           "Inhibit 42 Vantrel \"Playing a video\"\n"))
        << Log();
    EXPECT_EQ(Player().Terminate(e2e::kPatience).code, 0);
    EXPECT_EQ(Log(), "ready\nInhibit 41 Vantrel \"Playing a video\"\nUnInhibit 41\n"
                     "Inhibit 42 Vantrel \"Playing a video\"\nUnInhibit 42\n");
}

TEST_F(ScreenSaver, LetGoAtTheEndOfTheStreamAndOnAFailedOpen)
{
    StartStandIn();
    Launch({MediaPath(test_media::kClipAvi.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Stopped.")) << Title();  // the clip ran out
    EXPECT_TRUE(WaitForLog("ready\nInhibit 41 Vantrel \"Playing a video\"\nUnInhibit 41\n")) << Log();

    Ctl({"play"});
    ASSERT_TRUE(WaitForLog("ready\nInhibit 41 Vantrel \"Playing a video\"\nUnInhibit 41\n"
                           "Inhibit 42 Vantrel \"Playing a video\"\n"))
        << Log();
    Ctl({"open", "file://" + MediaPath(test_media::kRandomAvi.name)});
    EXPECT_TRUE(WaitForLog("ready\nInhibit 41 Vantrel \"Playing a video\"\nUnInhibit 41\n"
                           "Inhibit 42 Vantrel \"Playing a video\"\nUnInhibit 42\n"))
        << Log();
    EXPECT_TRUE(Player().Running());
}

TEST_F(ScreenSaver, NeverHeldForSoundAlone)
{
    StartStandIn();
    WriteSettings({
        {"Repeat", 1}
    });
    Launch({MediaPath(test_media::kAudioOgg.name)});
    ASSERT_TRUE(WaitForStatus("Playing"));
    Ctl({"stop"});
    EXPECT_EQ(Quit().code, 0);
    // The player's calls arrive in order, so one made while it played would be here by now.
    EXPECT_EQ(Log(), "ready\n");
}

TEST_F(ScreenSaver, ThePortalWhereTheScreenSaverNameIsAbsent)
{
    StartStandIn({"--portal"});
    WriteSettings({
        {"Repeat", 1}
    });
    Launch({MediaPath(test_media::kClipMov.name)});
    const std::string held =
        "ready\nInhibit /org/freedesktop/portal/desktop/request/standin/1 flags=8 \"Playing a video\"\n";
    ASSERT_TRUE(WaitForLog(held)) << Log();
    Ctl({"stop"});
    EXPECT_TRUE(WaitForLog(held + "Close /org/freedesktop/portal/desktop/request/standin/1\n")) << Log();
}

// No session bus on a bare X server: the server's own screen saver waits while a picture plays.
class XScreenSaver : public e2e::PlayerTest {
protected:
    std::string Probe(const std::vector<std::string>& args = {})
    {
        std::vector<std::string> argv{X_SCREEN_SAVER_PROBE};
        argv.insert(argv.end(), args.begin(), args.end());
        return m_x.Capture(argv).out;
    }
    bool IdleAtLeast(unsigned long milliseconds)
    {
        const std::string state = Probe();
        return std::stoul(state.substr(state.find(' ') + 1)) >= milliseconds;
    }
};

TEST_F(XScreenSaver, SuspendedWhileAPicturePlaysAndBackOnceThePlayerIsGone)
{
    const ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", "");
    WriteSettings({
        {"Repeat", 1}
    });
    Launch({MediaPath(test_media::kClipAvi.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    Probe({"1"});  // a second without input would start it
    ASSERT_TRUE(Eventually([&] { return IdleAtLeast(2500); }));
    EXPECT_EQ(Probe().substr(0, 4), "off ");
    EXPECT_EQ(Player().Terminate(e2e::kPatience).code, 0);
    EXPECT_TRUE(Eventually([&] { return Probe().starts_with("on "); })) << Probe();
}

}  // namespace
}  // namespace desktop_test
