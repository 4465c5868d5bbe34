// The player in a Wayland session, under Weston's headless compositor: through XWayland when
// there is an X display, natively when there is none, and as the user says when QT_QPA_PLATFORM
// is set.

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/player_fixture.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace e2e {
namespace {

constexpr const char* kSocket = "vantrel-test";
constexpr const char* kPlaceNotUsed = "its saved place is not used";

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t Count(const std::string& text, const std::string& word)
{
    std::size_t n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

// Weston with its headless back end in a runtime folder of its own; with XWayland, the X
// display it listens on.
class Weston {
public:
    explicit Weston(bool xwayland)
    {
        std::filesystem::permissions(m_runtime.Path(), std::filesystem::perms::owner_all);
        std::vector<std::string> argv{"weston", "--backend=headless-backend.so", std::string("--socket=") + kSocket,
                                      "--idle-time=0", "--log=" + Log()};
        if (xwayland)
            argv.push_back("--xwayland");
        m_server.emplace(harness::Command{.argv = argv, .env = {"XDG_RUNTIME_DIR=" + m_runtime.Path()}});
        const std::regex listening(R"(xserver listening on display (:\d+))");
        Eventually([&] {
            std::smatch found;
            const std::string log = ReadText(Log());
            if (xwayland && std::regex_search(log, found, listening))
                m_display = found[1];
            return std::filesystem::exists(m_runtime / kSocket) && (!xwayland || !m_display.empty());
        });
    }
    bool Ready() const { return std::filesystem::exists(m_runtime / kSocket); }
    const std::string& RuntimeDir() const { return m_runtime.Path(); }
    const std::string& XDisplay() const { return m_display; }
    std::string Log() const { return m_runtime / "weston.log"; }

private:
    TempDir m_runtime;
    std::optional<harness::Process> m_server;
    std::string m_display;
};

class WaylandSession : public testing::Test {
protected:
    // Starts the player on `medium` with the session's environment and `env` over it; its
    // stderr goes to a file.
    void Launch(const Weston& weston, std::vector<std::string> env)
    {
        std::filesystem::create_directories(m_config / "Quorvel");
        std::ofstream(Settings()) << "[System]\nx=300\ny=200\ncx=400\ncy=200\n";
        std::vector<std::string> all{"XDG_RUNTIME_DIR=" + weston.RuntimeDir(),
                                     std::string("WAYLAND_DISPLAY=") + kSocket,
                                     "XDG_SESSION_TYPE=wayland",
                                     "XDG_CONFIG_HOME=" + m_config.Path(),
                                     "VANTREL_AUDIOSINK=fakesink",
                                     "STDERR_FILE=" + Stderr(),
                                     "QT_QPA_PLATFORM=",
                                     "DISPLAY="};
        // Qt's Wayland plugin is gone by the leak report: a full stack names the libraries it came through.
        if (const char* leaks = std::getenv("LSAN_OPTIONS"); leaks != nullptr)
            all.push_back(std::string("LSAN_OPTIONS=") + leaks + ":fast_unwind_on_malloc=0");
        all.insert(all.end(), env.begin(), env.end());
        m_player.emplace(harness::Command{
            .argv = {"sh", "-c", "exec \"$0\" \"$@\" 2>\"$STDERR_FILE\"", VANTREL_BINARY,
                     MediaPath(test_media::kClipAvi.name)},
            .env = all
        });
    }
    std::string Stderr() const { return m_config / "stderr.txt"; }
    // Ends the player as the desktop would and tells whether it closed as usual.
    bool ClosesAndSaves()
    {
        m_player->Signal(SIGTERM);
        const harness::ExitStatus status = m_player->Wait(kPatience);
        return status.code == 0 && ReadText(Settings()).find("Volume=") != std::string::npos;
    }
    std::string Settings() const { return m_config / "Quorvel/vantrel.conf"; }

    TempDir m_config;
    std::optional<harness::Process> m_player;
};

TEST_F(WaylandSession, WithXWaylandThePlayerRunsOnXWhereItsPlaceIsItsOwn)
{
    const Weston weston(true);
    ASSERT_TRUE(weston.Ready()) << ReadText(weston.Log());
    ASSERT_FALSE(weston.XDisplay().empty()) << ReadText(weston.Log());
    Launch(weston, {"DISPLAY=" + weston.XDisplay()});
    // Its window is an X window, of the size it saved.
    std::string geometry;
    EXPECT_TRUE(Eventually([&] {
        const harness::Output found = harness::Capture(
            {
                .argv = {"xdotool", "search", "--name", "^Telvo", "getwindowgeometry"},
                .env = {"DISPLAY=" + weston.XDisplay()}
        },
            kPatience);
        geometry = found.out;
        return geometry.find("Geometry: 400x200") != std::string::npos;
    })) << "no window of the saved size on XWayland: "
        << geometry;
    EXPECT_TRUE(ClosesAndSaves());
    EXPECT_EQ(Count(ReadText(Stderr()), kPlaceNotUsed), 0u) << ReadText(Stderr());
}

TEST_F(WaylandSession, WithoutAnXDisplayItRunsNativelyAndSaysOnceThatItsPlaceIsNotUsed)
{
    const Weston weston(false);
    ASSERT_TRUE(weston.Ready()) << ReadText(weston.Log());
    Launch(weston, {});
    EXPECT_TRUE(Eventually([&] { return Count(ReadText(Stderr()), kPlaceNotUsed) == 1; })) << ReadText(Stderr());
    EXPECT_TRUE(m_player->Running());
    EXPECT_TRUE(ClosesAndSaves());
    EXPECT_EQ(Count(ReadText(Stderr()), kPlaceNotUsed), 1u) << "said once";
}

TEST_F(WaylandSession, ThePlatformTheUserSetsWins)
{
    const Weston weston(true);
    ASSERT_TRUE(weston.Ready()) << ReadText(weston.Log());
    Launch(weston, {"DISPLAY=" + weston.XDisplay(), "QT_QPA_PLATFORM=wayland"});
    EXPECT_TRUE(Eventually([&] { return Count(ReadText(Stderr()), kPlaceNotUsed) == 1; }))
        << "native Wayland although an X display is there: " << ReadText(Stderr());
    EXPECT_TRUE(ClosesAndSaves());
}

}  // namespace
}  // namespace e2e
