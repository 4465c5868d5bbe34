// Media given at start: the picture beside its panel, the titles of the transport, and files
// that cannot be played.

#include <filesystem>
#include <string>

#include "e2e/player_fixture.h"
#include "support/test_media.h"

namespace e2e {
namespace {

using test_media::Medium;

class Playback : public PlayerTest {};

// The bar spans the panel from 5 to width - 5, rows 3 to 11.
constexpr int kBarInset = 5;
constexpr int kBarRow = 6;  // a row through the bar

TEST_F(Playback, PictureAtTheLeftAndThePanelBesideIt)
{
    const Medium& clip = test_media::kClipMov;
    Launch({MediaPath(clip.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();

    const SizedRect client = Client();
    ASSERT_EQ(client, (SizedRect{kFrame, kFrame, 192, 76}));
    const int pictureWidth = clip.squareWidth * client.height / clip.height;  // 92
    const int panelWidth = client.width - pictureWidth;

    // The played part grows while the clip plays, so at some moment the bar shows both colours.
    ScreenImage shot;
    EXPECT_TRUE(WaitForScreen(client, [&](const ScreenImage& candidate) {
        shot = candidate;
        return candidate.Count(kTextGreen, 0, kBarRow, client.width, kBarRow + 1) > 0 &&
               candidate.Count(kBarGreen, 0, kBarRow, client.width, kBarRow + 1) > 0;
    })) << "the bar never showed its played part and its rest together";

    // The bar's ends give the panel's place: it starts where the picture ends.
    const int barPixels = shot.Count(kTextGreen, 0, kBarRow, client.width, kBarRow + 1) +
                          shot.Count(kBarGreen, 0, kBarRow, client.width, kBarRow + 1);
    EXPECT_EQ(barPixels, panelWidth - 2 * kBarInset);
    EXPECT_EQ(shot.At(pictureWidth + kBarInset, kBarRow), kTextGreen);
    EXPECT_EQ(shot.At(pictureWidth + panelWidth - kBarInset - 1, kBarRow), kBarGreen);

    // The test picture's colour bars fill the upper part of the fitted picture edge to edge.
    for (const int x : {0, pictureWidth / 2, pictureWidth - 1}) {
        EXPECT_NE(shot.At(x, client.height / 3), kBlack) << "column " << x;
    }
    EXPECT_EQ(shot.At(pictureWidth, client.height / 3), kBlack);

    EXPECT_GT(shot.Count(kTextGreen, pictureWidth, 12, client.width, client.height), 0)
        << "no status text under the bar";
    EXPECT_EQ(shot.Count(kErrorRed), 0);
}

TEST_F(Playback, EndOfTheClipStopsIt)
{
    Launch({MediaPath(test_media::kClipAvi.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    EXPECT_TRUE(WaitForTitle("Telvo Stopped.")) << Title();
    EXPECT_TRUE(Player().Running());
}

// Cut to nothing while it plays on Repeat, the clip has nothing left for its next
// loop: the player stops on the error line instead of rewinding for ever.
TEST_F(Playback, AClipCutWhileItRepeatsStopsOnTheErrorLine)
{
    WriteSettings({
        {"Repeat", 1}
    });
    const std::string copy = m_config / "repeated.mpg";
    std::filesystem::copy_file(MediaPath(test_media::kClipMpg.name), copy);
    Launch({copy});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    std::filesystem::resize_file(copy, 0);
    EXPECT_TRUE(WaitForTitle("Telvo Stopped.")) << Title();
    EXPECT_TRUE(WaitForScreen(Client(), [](const ScreenImage& shot) { return shot.Count(kErrorRed) > 0; }))
        << "no error line";
    EXPECT_TRUE(Player().Running());
}

struct Unplayable {
    const char* name;
    std::string path;
};
void PrintTo(const Unplayable& file, std::ostream* out)
{
    *out << file.name;
}

class UnplayableFile : public PlayerTest, public testing::WithParamInterface<Unplayable> {};

TEST_P(UnplayableFile, ShowsTheErrorLineAndKeepsRunning)
{
    Launch({GetParam().path});
    const SizedRect client = Client();
    EXPECT_TRUE(WaitForScreen(client, [](const ScreenImage& shot) { return shot.Count(kErrorRed) > 0; }))
        << "no error line";
    EXPECT_EQ(Title(), "Telvo");
    EXPECT_TRUE(Player().Running());
    EXPECT_EQ(Player().Terminate(kPatience).code, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnplayableFile,
    testing::Values(Unplayable{"RandomBytes", MediaPath(test_media::kRandomAvi.name)},
                    Unplayable{"Text", MediaPath(test_media::kTextMov.name)},
                    Unplayable{"Missing", MediaPath("no such file.avi")},
                    Unplayable{"NoiseTakenForRawH263", MediaPath(test_media::kTypefoundNoiseAvi.name)},
                    Unplayable{"FileUrlOfAnotherMachine", "file://otherhost" + MediaPath(test_media::kClipAvi.name)}),
    [](const testing::TestParamInfo<Unplayable>& test) { return test.param.name; });

}  // namespace
}  // namespace e2e
