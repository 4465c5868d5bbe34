// The window as a window: moved by dragging it anywhere, placed where the settings say.

#include <string>

#include "e2e/player_fixture.h"
#include "support/test_media.h"

namespace e2e {
namespace {

constexpr int kTravelX = 37;
constexpr int kTravelY = 23;

class WindowDrag : public PlayerTest {
protected:
    // Drags from a point given in client coordinates and checks that the window followed.
    void ExpectDragFollows(int clientX, int clientY, const char* where)
    {
        const SizedRect before = Geometry();
        DragBy(before.left + kFrame + clientX, before.top + kFrame + clientY, kTravelX, kTravelY);
        const SizedRect expected{before.left + kTravelX, before.top + kTravelY, before.width, before.height};
        EXPECT_TRUE(Eventually([&] { return Geometry() == expected; }))
            << "dragged from " << where << ": " << testing::PrintToString(Geometry()) << " instead of "
            << testing::PrintToString(expected);
    }
};

TEST_F(WindowDrag, FromThePictureAndFromThePanel)
{
    Launch({MediaPath(test_media::kClipMov.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    // The fitted picture is 92 wide in the first run's 192 x 76 client area.
    ExpectDragFollows(40, 40, "the picture");
    ExpectDragFollows(150, 40, "the panel");
}

TEST_F(WindowDrag, FromTheBlackStripBelowThePicture)
{
    // Narrow and tall: the picture takes the width and leaves black below it.
    WriteSettings({
        {"x",  100},
        {"y",  80 },
        {"cx", 208},
        {"cy", 400}
    });
    Launch({MediaPath(test_media::kClipMov.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    const SizedRect client = Client();
    const ScreenImage strip = Shot({client.left, client.top + 300, client.width, 50});
    ASSERT_EQ(strip.Count(kBlack), strip.Width() * strip.Height()) << "no black strip to drag";
    ExpectDragFollows(100, 320, "the black strip");
}

struct Placement {
    const char* name;
    SizedRect stored;
    SizedRect shown;
};
void PrintTo(const Placement& placement, std::ostream* out)
{
    *out << placement.name;
}

class StoredPlacement : public PlayerTest, public testing::WithParamInterface<Placement> {};

TEST_P(StoredPlacement, IsAppliedAsStoredWhileTheScreenShowsIt)
{
    const SizedRect stored = GetParam().stored;
    const SizedRect shown = GetParam().shown;
    WriteSettings({
        {"x",  stored.left  },
        {"y",  stored.top   },
        {"cx", stored.width },
        {"cy", stored.height}
    });
    Launch();
    EXPECT_TRUE(Eventually([&] { return Geometry() == shown; }))
        << testing::PrintToString(Geometry()) << " instead of " << testing::PrintToString(shown);
}

// The screen is 1280 x 800. A place that leaves less than 64 x 48 of the window on it comes
// onto it, its size kept; one that shows that much stays as stored.
INSTANTIATE_TEST_SUITE_P(
    Settings, StoredPlacement,
    testing::Values(
        Placement{
            "PartlyOffTheScreen", {-300 + 64, -200 + 48, 300, 200},
             {-300 + 64, -200 + 48, 300, 200}
},
        Placement{"LeftEdgeMinusOne", {-1, 50, 300, 200}, {-1, 50, 300, 200}},
        Placement{"BeyondTheRightAndBottom", {1200, 700, 400, 300}, {1200, 700, 400, 300}},
        Placement{"OffTheScreen", {-500, -300, 300, 200}, {0, 0, 300, 200}},
        Placement{"FarBeyond", {100000, 100000, 400, 300}, {880, 500, 400, 300}}),
    [](const testing::TestParamInfo<Placement>& test) { return test.param.name; });

}  // namespace
}  // namespace e2e
