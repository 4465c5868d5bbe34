// The player's stored place on a desktop of two screens, as the toolkit's offscreen
// platform lays them out: a place either screen shows stays, one neither shows comes
// onto the nearer.

#include <fstream>
#include <string>

#include "fakes/fake_graph.h"
#include "platform/system/profile_store.h"
#include "ui/player/player_dlg.h"
#include "support/window_fixture.h"

namespace {

// Before the toolkit starts: two screens side by side, the right one larger and lower.
const bool g_twoScreens = [] {
    const std::string config = std::filesystem::temp_directory_path() / "vantrel-two-screens.json";
    std::ofstream(config) << R"({"screens": [
        {"name": "left", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "dpr": 1},
        {"name": "right", "x": 1280, "y": 200, "width": 1920, "height": 1080, "logicalDpi": 96, "dpr": 1}]})";
    return ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1) == 0;
}();

class TwoScreensTest : public WindowTest {
protected:
    RECT PlacedAt(const std::string& stored)
    {
        platform::PumpEvents(0);  // the last window's close is saved once back in the event loop
        std::filesystem::create_directories(m_config / "Quorvel");
        std::ofstream(m_config / "Quorvel" / "vantrel-test.conf") << "[System]\n" << stored;
        m_app.SetRegistryKey("Quorvel");
        CPlayerDlg dlg;
        m_app.m_pMainWnd = &dlg;
        EXPECT_TRUE(dlg.Create(IDD_PLAYER));
        RECT outer{};
        dlg.GetWindowRect(&outer);
        dlg.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        return outer;
    }
    fakes::ScopedFakeGraph graph;
};

}  // namespace

TEST_F(TwoScreensTest, TheDesktopHasBothScreens)
{
    ASSERT_TRUE(g_twoScreens);
    const std::vector<RECT> screens = GetMonitorRects();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[1].left, 1280);
    EXPECT_EQ(screens[1].bottom, 1280);
}

TEST_F(TwoScreensTest, APlaceOnTheSecondScreenStaysAndOneOffBothComesOntoTheNearer)
{
    EXPECT_EQ(PlacedAt("x=2000\ny=900\ncx=400\ncy=300\n").left, 2000) << "on the second screen";
    const RECT lost = PlacedAt("x=100000\ny=100000\ncx=400\ncy=300\n");
    EXPECT_EQ(lost.left, 3200 - 400);
    EXPECT_EQ(lost.top, 1280 - 300);
    EXPECT_EQ(lost.right - lost.left, 400) << "its size kept";
    // Far to the left: onto the first screen, at its left edge.
    const RECT left = PlacedAt("x=-3000\ny=300\ncx=400\ncy=300\n");
    EXPECT_EQ(left.left, 0);
    EXPECT_EQ(left.top, 300);
}
