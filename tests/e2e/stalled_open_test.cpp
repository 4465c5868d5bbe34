// A start-up URL whose server takes the connection and never answers: the window is there
// and alive while the open waits, and a close request ends the wait and the program.

#include <csignal>
#include <string>

#include "e2e/player_fixture.h"
#include "support/scoped_env.h"
#include "support/silent_server.h"

namespace e2e {
namespace {

enum class CloseBy { Escape, Terminate };

class StalledOpen : public PlayerTest, public testing::WithParamInterface<CloseBy> {};

TEST_P(StalledOpen, ShowsALiveWindowAtOnceAndACloseEndsTheWaitAndSaves)
{
    const SilentServer server;
    // Far longer than the test's patience: only a window shown during the wait is seen.
    const ScopedEnv bound("VANTREL_RENDER_TIMEOUT_MS", "600000");
    Launch({server.Url()});
    const SizedRect client = Client();
    EXPECT_TRUE(WaitForScreen(client, [](const ScreenImage& shot) { return shot.CountGreenShades() > 0; }))
        << "the splash runs while the open waits";

    if (GetParam() == CloseBy::Escape)
        PressKey("Escape", client.left + client.width / 2, client.top + client.height / 2);
    else
        Player().Signal(SIGTERM);
    const harness::ExitStatus status = WaitForExit();
    EXPECT_EQ(status.code, 0);
    EXPECT_FALSE(status.timedOut) << "the open was not abandoned";
    EXPECT_EQ(ReadSettings().count("Volume"), 1u) << "closed as usual, settings saved";
}

INSTANTIATE_TEST_SUITE_P(Network, StalledOpen, testing::Values(CloseBy::Escape, CloseBy::Terminate),
                         [](const testing::TestParamInfo<CloseBy>& test) {
                             return test.param == CloseBy::Escape ? std::string("Escape") : std::string("Terminate");
                         });

}  // namespace
}  // namespace e2e
