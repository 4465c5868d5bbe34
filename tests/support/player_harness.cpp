#include "support/player_harness.h"

#include <stdlib.h>

#include <filesystem>

#include "platform/framework/app.h"
#include "res/resource_table.h"

namespace harness {
namespace {

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(kAppName) { m_pszAppName = kAppName; }
};

// The settings directory of this process; removed at exit.
class ConfigDir {
public:
    ConfigDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-engine-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
        setenv("XDG_CONFIG_HOME", m_path.c_str(), 1);
    }
    ~ConfigDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    void Empty() const
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(m_path, ignored))
            std::filesystem::remove_all(entry.path(), ignored);
    }

private:
    std::filesystem::path m_path;
};

constexpr int kPumpSliceMs = 10;
constexpr int kPumpBoundMs = 5000;
constexpr int kQuietMs = 200;

}  // namespace

LRESULT ObservedPlayer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == TIMER_STATUS)
        ++ticks;
    else if (message == WM_ERASEBKGND)
        ++erases;
    else if (message == WM_SYSCOMMAND)
        sysCommands.push_back(wParam);
    return CPlayerDlg::WindowProc(message, wParam, lParam);
}

ProcessReady::ProcessReady()
{
    static const ConfigDir config;
    static TestApp app;
    static const bool prepared = [] {
        platform::EnsureToolkit();
        res::RegisterResources();
        return true;
    }();
    (void)prepared;
    config.Empty();
}

void PlayerTest::SetUp()
{
    ASSERT_TRUE(dlg.Create(IDD_PLAYER));
    graph.ClearLog();
}

void PlayerTest::TearDown()
{
    if (dlg.IsWindow())
        dlg.DestroyWindow();
    // Closed windows' widgets go at the next turn of the event loop.
    platform::PumpEvents(0);
}

void PlayerTest::OpenPlaying()
{
    dlg.OpenAndPlay(kClip);
    ASSERT_EQ(dlg.m_nState, STATE_PLAYING);
    graph.ClearLog();
}

void PlayerTest::OpenPaused()
{
    OpenPlaying();
    dlg.OnPlayPause();
    ASSERT_EQ(dlg.m_nState, STATE_PAUSED);
    graph.ClearLog();
}

void PlayerTest::OpenStopped()
{
    OpenPlaying();
    dlg.OnStop();
    ASSERT_EQ(dlg.m_nState, STATE_STOPPED);
    graph.ClearLog();
}

Calls PlayerTest::GraphCalls() const
{
    return graph.LogWithout([](const std::string& entry) {
        return entry == "get_CurrentPosition" || entry == "GetCurrentPosition" || entry == "GetDuration" ||
               entry.starts_with("GetState");
    });
}

std::string PlayerTest::Self() const
{
    return fakes::HandleText(reinterpret_cast<OAHWND>(dlg.GetSafeHwnd()));
}

bool PlayerTest::PumpUntil(const std::function<bool()>& done)
{
    for (int waited = 0; waited < kPumpBoundMs; waited += kPumpSliceMs) {
        if (done())
            return true;
        platform::PumpEvents(kPumpSliceMs);
    }
    return done();
}

bool PlayerTest::TickArrives()
{
    const int before = dlg.ticks;
    return PumpUntil([&] { return dlg.ticks > before; });
}

bool PlayerTest::StaysQuiet()
{
    const int before = dlg.ticks;
    platform::PumpEvents(kQuietMs);
    return dlg.ticks == before;
}

void PlayerTest::SetClientSize(LONG cx, LONG cy)
{
    const RECT window = WindowRect();
    const RECT client = ClientRect();
    const LONG frameX = (window.right - window.left) - (client.right - client.left);
    const LONG frameY = (window.bottom - window.top) - (client.bottom - client.top);
    dlg.SetWindowPos(nullptr, 0, 0, cx + frameX, cy + frameY, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(ClientRect(), (RECT{0, 0, cx, cy}));
    graph.ClearLog();
}

RECT PlayerTest::ClientRect() const
{
    RECT rect;
    dlg.GetClientRect(&rect);
    return rect;
}

RECT PlayerTest::WindowRect() const
{
    RECT rect;
    dlg.GetWindowRect(&rect);
    return rect;
}

RECT PlayerTest::LabelPanelRect() const
{
    RECT rect;
    dlg.m_wndLabel.GetWindowRect(&rect);
    POINT topLeft{rect.left, rect.top};
    POINT bottomRight{rect.right, rect.bottom};
    dlg.ScreenToClient(&topLeft);
    dlg.ScreenToClient(&bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

}  // namespace harness
