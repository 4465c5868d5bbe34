// Starting the program: the first run, the command line and what it says without a window.

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/player_fixture.h"
#include "support/test_media.h"

namespace e2e {
namespace {

class Startup : public PlayerTest {};

TEST_F(Startup, FirstRunShowsTheSplashAtTheCornerThenABlackPanel)
{
    Launch();
    EXPECT_EQ(Title(), "Telvo");
    EXPECT_EQ(Geometry(), (SizedRect{0, 0, 192 + 2 * kFrame, 76 + 2 * kFrame}));

    const SizedRect client = Client();
    // The splash only lasts its 3.2 seconds, so it has to be caught soon after the window shows.
    EXPECT_TRUE(WaitForScreen(
        client, [](const ScreenImage& shot) { return shot.CountGreenShades() > 0; }, 3000ms))
        << "no splash";
    EXPECT_TRUE(WaitForScreen(client, [&](const ScreenImage& shot) {
        return shot.Count(kBlack) == client.width * client.height;
    })) << "the panel did not turn black after the splash";
    EXPECT_TRUE(Player().Running());
}

TEST_F(Startup, VersionAndHelpAnswerWithoutAWindowOrADisplay)
{
    // With a window the program would keep running, and the capture would run out of time.
    const auto run = [&](const std::string& option) {
        return harness::Capture(
            {
                .argv = {VANTREL_BINARY,      option                              },
                .env = { "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "XDG_CONFIG_HOME=" + m_config.Path()}
        },
            kPatience);
    };
    const harness::Output version = run("--version");
    EXPECT_EQ(version.status.code, 0);
    EXPECT_FALSE(version.status.timedOut);
    EXPECT_EQ(version.out, "vantrel 1.0.3.1\n");

    const harness::Output help = run("--help");
    EXPECT_EQ(help.status.code, 0);
    EXPECT_FALSE(help.status.timedOut);
    EXPECT_TRUE(help.out.starts_with("Usage: vantrel")) << help.out;
}

TEST_F(Startup, WithoutADisplayItSaysSoAndFails)
{
    const harness::Output run = harness::Capture(
        {
            .argv = {VANTREL_BINARY,      MediaPath(test_media::kClipMpg.name)},
            .env = { "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "XDG_CONFIG_HOME=" + m_config.Path()}
    },
        kPatience);
    EXPECT_EQ(run.status.code, 1);
    EXPECT_FALSE(run.status.signal) << "ended by signal " << run.status.signal.value_or(0);
}

TEST_F(Startup, ADisplayWithNoServerBehindItIsSaidInOneLineAndFails)
{
    // Display 4095 has no server on this machine: no socket, no lock file.
    ASSERT_FALSE(std::filesystem::exists("/tmp/.X11-unix/X4095"));
    const harness::Output run = harness::Capture(
        {
            .argv = {"/bin/sh", "-c",   std::string("exec \"$0\" \"$1\" 2>&1"), VANTREL_BINARY,
                     MediaPath(test_media::kClipMpg.name)},
            .env = {"DISPLAY=:4095",         "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=",             "XDG_CONFIG_HOME=" + m_config.Path()        }
    },
        kPatience);
    EXPECT_FALSE(run.status.signal) << "ended by signal " << run.status.signal.value_or(0);
    EXPECT_EQ(run.status.code, 1);
    EXPECT_EQ(run.out,
              std::string(VANTREL_BINARY) + ": no display to show the player on (cannot open the display :4095)\n")
        << "one line, no core dump";
}

TEST_F(Startup, AnOptionWithMoreAfterItIsAPath)
{
    Launch({"--version", "foo"});
    const SizedRect client = Client();
    EXPECT_TRUE(WaitForScreen(client, [](const ScreenImage& shot) { return shot.Count(kErrorRed) > 0; }))
        << "\"--version foo\" was not opened as a path";
    EXPECT_TRUE(Player().Running());
}

TEST_F(Startup, SpacedPathGivenUnquotedOpensWhole)
{
    const std::string path = MediaPath(test_media::kNameWithSpaceAvi.name);
    const auto blank = path.rfind("with");
    ASSERT_NE(blank, std::string::npos);
    // The shell splits it at its blanks: "…/name", "with", "space.avi".
    Launch({path.substr(0, blank - 1), "with", path.substr(blank + 5)});
    EXPECT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
}

struct OddArgument {
    const char* name;
    std::string text;
};
void PrintTo(const OddArgument& argument, std::ostream* out)
{
    *out << argument.name;
}

class OddCommandLine : public PlayerTest, public testing::WithParamInterface<OddArgument> {};

TEST_P(OddCommandLine, StartsAndEndsCleanly)
{
    Launch({GetParam().text});
    ASSERT_FALSE(Window().empty());
    EXPECT_TRUE(Player().Running());
    const harness::ExitStatus status = Player().Terminate(kPatience);
    EXPECT_EQ(status.code, 0);
    EXPECT_FALSE(status.signal) << "ended by signal " << status.signal.value_or(0);
}

INSTANTIATE_TEST_SUITE_P(Arguments, OddCommandLine,
                         testing::Values(OddArgument{"Empty", ""}, OddArgument{"BlanksOnly", "   "},
                                         OddArgument{"TenThousandCharacters", std::string(10000, 'x')},
                                         OddArgument{"NotUtf8", "\xff\xfe\xc3(\x80 clip.avi"}),
                         [](const testing::TestParamInfo<OddArgument>& test) { return test.param.name; });

}  // namespace
}  // namespace e2e
