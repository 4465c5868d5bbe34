// The player on the session bus through the MPRIS interface, driven by playerctl as the
// desktop's media keys and controls drive it.

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <fstream>
#include <sstream>

#include "platform/desktop/desktop_fixture.h"
#include "support/silent_server.h"
#include "support/test_media.h"

namespace desktop_test {
namespace {

using e2e::Eventually;

std::size_t Occurrences(const std::string& text, const std::string& word)
{
    std::size_t count = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size()))
        ++count;
    return count;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Mpris : public DesktopPlayerTest {
protected:
    // dbus-monitor writing the player's signals into `log`, once it listens; empty when it does not.
    std::optional<harness::Process> WatchSignals(const std::string& log)
    {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            return std::nullopt;
        std::optional<harness::Process> monitor;
        monitor.emplace(harness::Command{
            .argv = {"dbus-monitor", "--session", "type='signal',path='/org/mpris/MediaPlayer2'"},
              .stdoutFd = fd
        });
        ::close(fd);
        if (!Eventually([&] { return ReadFile(log).find("NameAcquired") != std::string::npos; }))
            return std::nullopt;
        return monitor;
    }
    // The metadata's entries as dbus-send prints them, the values alone, one a line.
    std::string Metadata()
    {
        std::istringstream lines(Property("org.mpris.MediaPlayer2.Player", "Metadata"));
        std::string values;
        for (std::string line; std::getline(lines, line);) {
            const auto variant = line.find("variant");
            if (variant == std::string::npos)
                continue;
            if (!values.empty())
                values += '\n';
            values += line.substr(line.find_first_not_of(' ', variant + 7));
        }
        return values;
    }
};

TEST_F(Mpris, BeforeAnyOpenItIsListedStoppedAndCannotPlay)
{
    Launch();
    Window();
    ASSERT_TRUE(Eventually([&] {
        return m_bus.Run({"playerctl", "--list-all"}) == "vantrel";
    })) << m_bus.Run({"playerctl", "--list-all"});
    EXPECT_EQ(Ctl({"status"}), "Stopped");
    EXPECT_EQ(Metadata(), "object path \"/org/mpris/MediaPlayer2/TrackList/NoTrack\"");
    EXPECT_EQ(Property("org.mpris.MediaPlayer2.Player", "CanPlay"), "boolean false");
    EXPECT_EQ(Property("org.mpris.MediaPlayer2.Player", "CanSeek"), "boolean false");
    EXPECT_EQ(Property("org.mpris.MediaPlayer2", "Identity"), "string \"Vantrel\"");
    EXPECT_EQ(Property("org.mpris.MediaPlayer2", "DesktopEntry"), "string \"vantrel\"");
    const std::string types = Property("org.mpris.MediaPlayer2", "SupportedMimeTypes");
    EXPECT_NE(types.find("\"video/x-msvideo\""), std::string::npos) << types;
    EXPECT_NE(types.find("\"audio/basic\""), std::string::npos) << types;

    Ctl({"play-pause"});
    Ctl({"play"});
    EXPECT_EQ(Ctl({"status"}), "Stopped");
    EXPECT_EQ(Title(), "Telvo");
    EXPECT_TRUE(Player().Running());
}

TEST_F(Mpris, PlayPauseStopAreTheMenuCommands)
{
    WriteSettings({
        {"Repeat", 1}
    });  // the clip plays on for as long as the test needs
    Launch({MediaPath(test_media::kClipAvi.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    ASSERT_TRUE(WaitForStatus("Playing"));

    Ctl({"play-pause"});
    EXPECT_TRUE(WaitForTitle("Telvo Paused.")) << Title();
    EXPECT_TRUE(WaitForStatus("Paused"));
    Ctl({"pause"});  // already paused: not a toggle
    Ctl({"play-pause"});
    EXPECT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    Ctl({"play"});  // already playing
    Ctl({"pause"});
    EXPECT_TRUE(WaitForStatus("Paused"));
    Ctl({"play"});
    EXPECT_TRUE(WaitForStatus("Playing"));
    EXPECT_EQ(Title(), "Telvo Playing.");

    Ctl({"stop"});
    EXPECT_TRUE(WaitForTitle("Telvo Stopped.")) << Title();
    EXPECT_TRUE(WaitForStatus("Stopped"));
    EXPECT_EQ(Property("org.mpris.MediaPlayer2.Player", "CanPlay"), "boolean true");
}

TEST_F(Mpris, MetadataNamesTheOpenMediumAndFollowsAnOpenUri)
{
    WriteSettings({
        {"Repeat", 1}
    });
    const std::string path = MediaPath(test_media::kNameWithSpaceAvi.name);
    Launch({path});
    ASSERT_TRUE(WaitForStatus("Playing"));
    EXPECT_EQ(Ctl({"metadata", "xesam:title"}), "name with space.avi");
    EXPECT_EQ(Ctl({"metadata", "xesam:url"}),
              "file://" + std::filesystem::absolute(path).parent_path().string() + "/name%20with%20space.avi");
    const double microseconds = std::stod(Ctl({"metadata", "mpris:length"}));
    EXPECT_NEAR(microseconds, test_media::kNameWithSpaceAvi.seconds * 1e6, test_media::kSecondsTolerance * 1e6);
    const std::string firstTrack = Ctl({"metadata", "mpris:trackid"});

    Ctl({"open", "file://" + MediaPath(test_media::kClipMov.name)});
    EXPECT_TRUE(Eventually([&] { return Ctl({"metadata", "xesam:title"}) == "clip.mov"; }));
    EXPECT_NE(Ctl({"metadata", "mpris:trackid"}), firstTrack);
    EXPECT_TRUE(WaitForStatus("Playing"));

    // A medium that cannot be played leaves nothing to describe, and the player runs on; so
    // does a file URL of another machine, however real the path is here.
    // Sent as it is: playerctl would make a local file's URL of it.
    m_bus.Run({"dbus-send", "--session", "--print-reply", std::string("--dest=") + kBusName, "/org/mpris/MediaPlayer2",
               "org.mpris.MediaPlayer2.Player.OpenUri",
               "string:file://otherhost" + MediaPath(test_media::kClipAvi.name)});
    EXPECT_TRUE(Eventually([&] { return Metadata() == "object path \"/org/mpris/MediaPlayer2/TrackList/NoTrack\""; }))
        << Metadata();
    Ctl({"open", "file://" + MediaPath(test_media::kClipMov.name)});
    EXPECT_TRUE(WaitForStatus("Playing"));
    Ctl({"open", "file://" + MediaPath(test_media::kRandomAvi.name)});
    EXPECT_TRUE(Eventually([&] { return Metadata() == "object path \"/org/mpris/MediaPlayer2/TrackList/NoTrack\""; }))
        << Metadata();
    EXPECT_EQ(Ctl({"status"}), "Stopped");
    EXPECT_TRUE(Player().Running());
}

TEST_F(Mpris, ASongsTagsAndCoverAreItsMetadataAndTheCoverFileGoesWithTheSong)
{
    Launch({MediaPath(test_media::kCoverMp3.name)});
    ASSERT_TRUE(WaitForStatus("Playing"));
    EXPECT_EQ(Ctl({"metadata", "xesam:title"}), test_media::kSongTitle);
    EXPECT_EQ(Ctl({"metadata", "xesam:artist"}), test_media::kSongArtist);
    EXPECT_EQ(Ctl({"metadata", "xesam:album"}), test_media::kSongAlbum);
    const std::string art = Ctl({"metadata", "mpris:artUrl"});
    ASSERT_EQ(art.rfind("file://" + m_config.Path() + "/", 0), 0u) << art << ": in the runtime folder";
    const std::string cover = art.substr(std::string("file://").size());
    EXPECT_EQ(ReadFile(cover).substr(1, 3), "PNG");

    Ctl({"open", "file://" + MediaPath(test_media::kClipAvi.name)});
    EXPECT_TRUE(Eventually([&] { return Ctl({"metadata", "xesam:title"}) == "clip.avi"; }));
    EXPECT_FALSE(std::filesystem::exists(cover)) << "gone with its medium";
    EXPECT_EQ(Metadata().find("artUrl"), std::string::npos);
    EXPECT_EQ(Ctl({"metadata", "xesam:artist"}), "");

    Ctl({"open", "file://" + MediaPath(test_media::kCoverFlac.name)});
    EXPECT_TRUE(Eventually([&] { return !Ctl({"metadata", "mpris:artUrl"}).empty(); }));
    const std::string second = Ctl({"metadata", "mpris:artUrl"}).substr(std::string("file://").size());
    EXPECT_EQ(Quit().code, 0);
    EXPECT_FALSE(std::filesystem::exists(second)) << "and with the player";
}

TEST_F(Mpris, ATitleThatChangesWhileItPlaysIsAnnounced)
{
    const std::string log = m_config / "signals.txt";
    const std::optional<harness::Process> monitor = WatchSignals(log);
    ASSERT_TRUE(monitor);
    Launch({MediaPath(test_media::kChainedOgg.name)});
    ASSERT_TRUE(WaitForStatus("Playing"));
    EXPECT_TRUE(Eventually([&] { return ReadFile(log).find("string \"Second\"") != std::string::npos; }))
        << ReadFile(log);
}

TEST_F(Mpris, AnOpenAskedForWhileAnotherWaitsTakesItsPlaceAndEveryCloseStillAnswers)
{
    const SilentServer first;
    const SilentServer second;
    ASSERT_TRUE(first.Listening() && second.Listening());
    // Far beyond the test's patience: an open left waiting would outlast the test.
    m_env = {"VANTREL_RENDER_TIMEOUT_MS=600000"};
    Launch({first.Url()});
    const SizedRect client = Client();
    ASSERT_TRUE(Eventually([&] { return first.Called(); }));
    ASSERT_TRUE(Eventually([&] { return m_bus.Run({"playerctl", "--list-all"}) == "vantrel"; }));
    EXPECT_EQ(Ctl({"status"}), "Stopped") << "answered while the open waits";

    Ctl({"open", second.Url()});
    EXPECT_TRUE(Eventually([&] { return second.Called(); })) << "the first open gave way to the second";
    EXPECT_EQ(Ctl({"status"}), "Stopped") << "answered while the second open waits";
    EXPECT_TRUE(Player().Running());

    PressKey("Escape", client.left + client.width / 2, client.top + client.height / 2);
    const harness::ExitStatus status = WaitForExit();
    EXPECT_FALSE(status.timedOut);
    EXPECT_EQ(status.code, 0);
    EXPECT_EQ(ReadSettings().count("Volume"), 1u) << "closed as usual, settings saved";
}

TEST_F(Mpris, VolumeAndLoopMoveTheLevelAndRepeatAndQuitSavesThem)
{
    WriteSettings({
        {"Repeat", 1},
        {"Volume", 5}
    });
    Launch({MediaPath(test_media::kClipAvi.name)});
    ASSERT_TRUE(WaitForStatus("Playing"));
    EXPECT_EQ(Ctl({"loop"}), "Track");
    EXPECT_DOUBLE_EQ(std::stod(Ctl({"volume"})), 0.5);

    Ctl({"volume", "0.73"});
    EXPECT_TRUE(Eventually([&] { return std::stod(Ctl({"volume"})) == 0.7; })) << Ctl({"volume"});
    Ctl({"volume", "0.1-"});  // down by a tenth, from where it is
    EXPECT_TRUE(Eventually([&] { return std::stod(Ctl({"volume"})) == 0.6; })) << Ctl({"volume"});
    Ctl({"loop", "None"});
    EXPECT_TRUE(Eventually([&] { return Ctl({"loop"}) == "None"; }));

    EXPECT_EQ(Quit().code, 0);
    const auto settings = ReadSettings();
    EXPECT_EQ(settings.at("Volume"), "6");
    EXPECT_EQ(settings.at("Repeat"), "0");
}

TEST_F(Mpris, ChangesAndSeeksAreAnnouncedButNotTheTicks)
{
    WriteSettings({
        {"Repeat", 1}
    });
    const std::string log = m_config / "signals.txt";
    const std::optional<harness::Process> monitor = WatchSignals(log);
    ASSERT_TRUE(monitor);

    Launch({MediaPath(test_media::kClipAvi.name)});
    ASSERT_TRUE(WaitForStatus("Playing"));
    Ctl({"play-pause"});
    EXPECT_TRUE(Eventually([&] { return ReadFile(log).find("string \"Paused\"") != std::string::npos; }));
    Ctl({"position", "1"});
    EXPECT_TRUE(Eventually([&] { return Occurrences(ReadFile(log), "member=Seeked") == 1; }));
    EXPECT_NEAR(std::stod(Ctl({"position"})), 1.0, test_media::kSecondsTolerance);
    Ctl({"position", "0.5-"});  // relative
    EXPECT_TRUE(Eventually([&] { return Occurrences(ReadFile(log), "member=Seeked") == 2; }));
    EXPECT_NEAR(std::stod(Ctl({"position"})), 0.5, test_media::kSecondsTolerance);
    Ctl({"play"});

    // The clip plays to its end (many ticks) and starts again: a seek, and not one property more.
    ASSERT_TRUE(Eventually([&] { return Occurrences(ReadFile(log), "string \"Playing\"") == 2; })) << ReadFile(log);
    const std::size_t announced = Occurrences(ReadFile(log), "member=PropertiesChanged");
    EXPECT_TRUE(Eventually([&] { return Occurrences(ReadFile(log), "member=Seeked") == 3; }));
    EXPECT_EQ(Occurrences(ReadFile(log), "member=PropertiesChanged"), announced) << ReadFile(log);
}

TEST_F(Mpris, ASecondPlayerTakesANameOfItsOwn)
{
    Launch();
    Window();
    ASSERT_TRUE(Eventually([&] { return m_bus.Run({"playerctl", "--list-all"}) == "vantrel"; }));
    TempDir config;
    harness::Process second(harness::Command{
        .argv = {VANTREL_BINARY               },
        .env = { m_x.DisplayEnv(), "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + config.Path(),
                 "XDG_RUNTIME_DIR=" + config.Path(), "VANTREL_AUDIOSINK=fakesink"},
    });
    const std::string instance = "vantrel.instance" + std::to_string(second.Pid());
    EXPECT_TRUE(Eventually([&] {
        return m_bus.Run({"playerctl", "--list-all"}) == "vantrel\n" + instance;
    })) << m_bus.Run({"playerctl", "--list-all"});
    EXPECT_EQ(second.Terminate(e2e::kPatience).code, 0);
    EXPECT_TRUE(Eventually([&] { return m_bus.Run({"playerctl", "--list-all"}) == "vantrel"; }));
}

// No session bus at all: the player plays and prints nothing about it.
class WithoutSessionBus : public e2e::PlayerTest {};

TEST_F(WithoutSessionBus, PlaysAndSaysNothing)
{
    const std::string errors = m_config / "stderr.txt";
    harness::Process player(harness::Command{
        .argv = {"sh",             "-c",                  "exec \"$0\" \"$1\" 2>\"$2\"",        VANTREL_BINARY, MediaPath(test_media::kClipAvi.name),
                 errors                                                                                                                                                          },
        .env = {m_x.DisplayEnv(), "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + m_config.Path(),
                 "XDG_RUNTIME_DIR=" + m_config.Path(),                                                          "VANTREL_AUDIOSINK=fakesink",         "DBUS_SESSION_BUS_ADDRESS="},
    });
    ASSERT_TRUE(m_x.WaitForWindow("^Telvo Playing\\.$", e2e::kPatience)) << "the clip never played";
    EXPECT_EQ(player.Terminate(e2e::kPatience).code, 0);
    EXPECT_EQ(ReadFile(errors), "");
}

}  // namespace
}  // namespace desktop_test
