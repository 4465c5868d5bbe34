// The right-click menu, driven with its keys: it pops up in a window of its own, its items act.

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/player_fixture.h"
#include "support/test_media.h"

namespace e2e {
namespace {

class PopupMenu : public PlayerTest {
protected:
    // The menu and its sub-menus: mapped top-level windows of the program besides the player's
    // own (the picture's window is a child of that). They carry the program's class but no name.
    std::vector<std::string> Popups()
    {
        const harness::Output found =
            m_x.Capture({"xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--class", "^vantrel$"});
        std::vector<std::string> ids;
        std::istringstream lines(found.out);
        for (std::string id; std::getline(lines, id);) {
            if (!id.empty() && id != Window())
                ids.push_back(id);
        }
        return ids;
    }

    bool WaitForPopups(std::size_t count)
    {
        return Eventually([&] { return Popups().size() == count; });
    }

    bool OverrideRedirect(const std::string& id)
    {
        return m_x.Capture({"xwininfo", "-id", id}).out.find("Override Redirect State: yes") != std::string::npos;
    }

    void Keys(const std::vector<std::string>& keys)
    {
        for (const std::string& key : keys)
            Xdotool({"key", key});
    }

    // Opens the menu over the middle of the window.
    void OpenMenu()
    {
        const SizedRect window = Geometry();
        RightClick(window.left + window.width / 2, window.top + window.height / 2);
        ASSERT_TRUE(WaitForPopups(1)) << "no menu after a right-click";
    }
};

TEST_F(PopupMenu, HundredPercentSizesTheWindowToThePicture)
{
    const test_media::Medium& clip = test_media::kClipMov;
    Launch({MediaPath(clip.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    const SizedRect before = Geometry();

    ASSERT_NO_FATAL_FAILURE(OpenMenu());
    EXPECT_TRUE(OverrideRedirect(Popups().front()));
    // From the bottom, which does not depend on the greyed items: Exit, About, Render File,
    // Options, Zoom; then into Zoom: Minimize, 25%, 50%, 100%.
    Keys({"Up", "Up", "Up", "Up", "Up", "Right"});
    ASSERT_TRUE(WaitForPopups(2)) << "the Zoom sub-menu did not open";
    Keys({"Down", "Down", "Down", "Return"});

    const SizedRect expected{before.left, before.top, clip.squareWidth + 2 * kFrame, clip.height + 2 * kFrame};
    EXPECT_TRUE(Eventually([&] { return Geometry() == expected; }))
        << testing::PrintToString(Geometry()) << " instead of " << testing::PrintToString(expected);
    EXPECT_TRUE(WaitForPopups(0));
    EXPECT_EQ(Title(), "Telvo Playing.");
}

TEST_F(PopupMenu, RenderFileAsksForAPathAndPlaysIt)
{
    Launch();
    ASSERT_EQ(Title(), "Telvo");
    ASSERT_NO_FATAL_FAILURE(OpenMenu());
    // From the bottom: Exit, About, Render File.
    Keys({"Up", "Up", "Up", "Return"});
    const std::optional<std::string> dialog = m_x.WaitForWindow("^Open media file$", kPatience);
    ASSERT_TRUE(dialog) << "no Open media dialog";
    std::istringstream where(m_x.Capture({"xdotool", "getwindowgeometry", "--shell", *dialog}).out);
    std::map<std::string, int> geometry;
    for (std::string line; std::getline(where, line);) {
        if (const auto eq = line.find('='); eq != std::string::npos)
            geometry[line.substr(0, eq)] = std::stoi(line.substr(eq + 1));
    }
    // Keys go to the window under the pointer; the whole "http://" is selected, so typing replaces it.
    Xdotool({"mousemove", std::to_string(geometry["X"] + geometry["WIDTH"] / 2), std::to_string(geometry["Y"] + 5),
             "sleep", "0.3", "type", "--delay", "5", MediaPath(test_media::kClipAvi.name)});
    Keys({"Return"});
    EXPECT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
}

TEST_F(PopupMenu, ExitEndsTheProgramAndSaves)
{
    Launch();
    ASSERT_NO_FATAL_FAILURE(OpenMenu());
    Keys({"Up", "Return"});
    const harness::ExitStatus status = WaitForExit();
    EXPECT_EQ(status.code, 0);
    EXPECT_FALSE(status.signal) << "ended by signal " << status.signal.value_or(0);
    EXPECT_EQ(ReadSettings().size(), 9u);
}

TEST_F(PopupMenu, EscapeDismissesTheMenuOnly)
{
    Launch();
    ASSERT_NO_FATAL_FAILURE(OpenMenu());
    Keys({"Escape"});
    EXPECT_TRUE(WaitForPopups(0));
    EXPECT_TRUE(Player().Running());
    EXPECT_EQ(Title(), "Telvo");
}

}  // namespace
}  // namespace e2e
