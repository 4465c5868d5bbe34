// What a film, a phone video and a song show on screen: subtitles and their keys, the
// sound's key, a turned picture upright and a song's cover.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/player_fixture.h"
#include "support/test_media.h"

namespace e2e {
namespace {

class Film : public PlayerTest {
protected:
    // Auto zoom: the window takes the picture's own size.
    void LaunchAtItsSize(const std::string& path)
    {
        WriteSettings({
            {"Zoom", 1}
        });
        Launch({path});
        ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    }
    // The subtitle's white over the blue test picture.
    static int White(const ScreenImage& shot)
    {
        return shot.CountWhere([](Rgb p) { return p.red > 200 && p.green > 200 && p.blue > 200; }, 0, 0, shot.Width(),
                               shot.Height());
    }
    // Waits until the subtitles show a row of `blocks` white blocks (0: none). A block of the
    // subtitle font is some 54 white pixels in a picture of this size; a third either way.
    // A screen between two cues may show none for a moment, so none has to last a few screens.
    bool WaitForBlocks(const SizedRect& picture, int blocks)
    {
        constexpr int kBlockPixels = 54;
        constexpr int kScreensOfNone = 4;
        m_white = -1;
        int held = 0;
        return WaitForScreen(picture, [&](const ScreenImage& shot) {
            m_white = White(shot);
            held = std::abs(m_white - blocks * kBlockPixels) <= blocks * kBlockPixels / 3 ? held + 1 : 0;
            return held >= (blocks == 0 ? kScreensOfNone : 1);
        });
    }
    int m_white = -1;  // what the last screen showed
};

TEST_F(Film, TheMarkedSubtitlesShowAndTheKeysCycleThemThroughNoneAndHideThem)
{
    LaunchAtItsSize(MediaPath(test_media::kSubtitledMkv.name));
    const SizedRect picture = Client();
    ASSERT_EQ(picture.width, test_media::kSubtitledMkv.width);
    // The second track is the one marked as default: the short row.
    ASSERT_TRUE(WaitForBlocks(picture, test_media::kShortRowBlocks)) << "the default subtitles: " << m_white;
    const int x = picture.left + picture.width / 2;
    const int y = picture.top + picture.height / 2;
    PressKey("j", x, y);
    EXPECT_TRUE(WaitForBlocks(picture, 0)) << "after the last track, none: " << m_white;
    PressKey("j", x, y);
    EXPECT_TRUE(WaitForBlocks(picture, test_media::kLongRowBlocks)) << "after none, the first track: " << m_white;
    PressKey("v", x, y);
    EXPECT_TRUE(WaitForBlocks(picture, 0)) << "hidden: " << m_white;
    PressKey("v", x, y);
    EXPECT_TRUE(WaitForBlocks(picture, test_media::kLongRowBlocks)) << "shown again, the same track: " << m_white;
}

TEST_F(Film, SubtitlesOfAnMp4AndAFileBesideTheMediumShowAndTheFileWins)
{
    LaunchAtItsSize(MediaPath(test_media::kSubtitledMp4.name));
    EXPECT_TRUE(WaitForScreen(Client(), [](const ScreenImage& shot) { return White(shot) > 0; }))
        << "the MP4's own text track";

    // The file beside it shows the long row; the medium's own track has two blocks.
    LaunchAtItsSize(MediaPath(test_media::kSidecarEmbeddedMkv.name));
    EXPECT_TRUE(WaitForBlocks(Client(), test_media::kLongRowBlocks)) << m_white;
}

TEST_F(Film, AnAssTrackKeepsItsStyling)
{
    // The track's own colour override makes its row red; drawn as plain text it would be white.
    LaunchAtItsSize(MediaPath(test_media::kStyledMkv.name));
    const SizedRect picture = Client();
    const auto red = [](Rgb p) { return p.red > 200 && p.green < 60 && p.blue < 60; };
    ScreenImage shot;
    EXPECT_TRUE(WaitForScreen(picture,
                              [&](const ScreenImage& candidate) {
                                  shot = candidate;
                                  return candidate.CountWhere(red, 0, 0, picture.width, picture.height) >
                                         20 * test_media::kStyledRowBlocks;
                              }))
        << "red " << shot.CountWhere(red, 0, 0, picture.width, picture.height);
    EXPECT_EQ(White(shot), 0);
}

TEST_F(Film, APhoneVideoStandsUprightAtItsUprightSize)
{
    LaunchAtItsSize(MediaPath(test_media::kRotatedMp4.name));
    const SizedRect client = Client();
    EXPECT_EQ(client.width, test_media::kRotatedShownWidth);
    EXPECT_EQ(client.height, test_media::kRotatedShownHeight);
    const auto red = [](Rgb p) { return p.red > 200 && p.green < 60 && p.blue < 60; };
    const auto blue = [](Rgb p) { return p.blue > 200 && p.red < 60 && p.green < 60; };
    ScreenImage shot;
    ASSERT_TRUE(WaitForScreen(client, [&](const ScreenImage& candidate) {
        shot = candidate;
        return candidate.CountWhere(red, 0, 0, client.width, client.height) > 0;
    }));
    const int half = client.width * client.height / 2;
    EXPECT_GT(shot.CountWhere(red, 0, 0, client.width, client.height / 2), half * 9 / 10) << "red on top";
    EXPECT_GT(shot.CountWhere(blue, 0, client.height / 2, client.width, client.height), half * 9 / 10) << "blue below";
}

TEST_F(Film, ASongShowsItsCoverAsItsPictureAndASongWithoutOneOnlyThePanel)
{
    LaunchAtItsSize(MediaPath(test_media::kCoverMp3.name));
    const SizedRect client = Client();
    EXPECT_EQ(client.width, test_media::kCoverWidth);
    EXPECT_EQ(client.height, test_media::kCoverHeight);
    const auto orange = [](Rgb p) { return p.red > 230 && p.green > 100 && p.green < 160 && p.blue < 30; };
    EXPECT_TRUE(WaitForScreen(client, [&](const ScreenImage& shot) {
        return shot.CountWhere(orange, 0, 0, client.width, client.height) > client.width * client.height * 9 / 10;
    }));

    LaunchAtItsSize(MediaPath(test_media::kBrokenCoverMp3.name));
    const SizedRect panelOnly = Client();
    EXPECT_NE(panelOnly.width, test_media::kCoverWidth);
    EXPECT_TRUE(WaitForScreen(panelOnly, [](const ScreenImage& shot) { return shot.Count(kTextGreen) > 0; }));
}

TEST_F(Film, TheSoundKeyChangesTheLanguageWhileThePictureGoesOn)
{
    const std::string sound = m_config / "sound.raw";
    m_env = {"VANTREL_AUDIOSINK=audioconvert ! audio/x-raw,format=S16LE,channels=1,rate=44100 ! filesink sync=true "
             "location=\"" +
             sound + "\""};
    // No rewind at the end: the sink's file would start again.
    WriteSettings({
        {"Volume",     10},
        {"AutoRewind", 0 }
    });
    Launch({MediaPath(test_media::kTwoAudioMkv.name)});
    ASSERT_TRUE(WaitForTitle("Telvo Playing.")) << Title();
    const SizedRect client = Client();
    // Halfway through the six seconds, the other language.
    ASSERT_TRUE(
        Eventually([&] { return std::filesystem::exists(sound) && std::filesystem::file_size(sound) > 3 * 88200u; }));
    PressKey("numbersign", client.left + client.width / 2, client.top + client.height / 2);
    const auto bytes = static_cast<std::uintmax_t>((test_media::kTwoAudioMkv.seconds - 0.2) * 88200);
    EXPECT_TRUE(Eventually([&] { return std::filesystem::file_size(sound) >= bytes; })) << "it plays to its end";
    PressKey("Escape", client.left + client.width / 2, client.top + client.height / 2);
    EXPECT_EQ(WaitForExit().code, 0);

    std::ifstream in(sound, std::ios::binary);
    std::vector<std::int16_t> samples;
    for (std::int16_t sample = 0; in.read(reinterpret_cast<char*>(&sample), sizeof sample);)
        samples.push_back(sample);
    const auto peak = [&](double from, double to) {
        int loudest = 0;
        for (auto i = static_cast<std::size_t>(from * 44100); i < std::min(samples.size(), std::size_t(to * 44100));
             ++i)
            loudest = std::max(loudest, std::abs(int{samples[i]}));
        return loudest;
    };
    EXPECT_NEAR(static_cast<double>(samples.size()) / 44100.0, test_media::kTwoAudioMkv.seconds, 0.3)
        << "no part lost or repeated";
    // Marked as the default, the loud German plays first; then the quiet English.
    EXPECT_NEAR(peak(0.5, 2.5), 32767 * test_media::kTwoAudioTracks[1].volume, 1500);
    EXPECT_NEAR(peak(5.0, 5.8), 32767 * test_media::kTwoAudioTracks[0].volume, 500);
}

}  // namespace
}  // namespace e2e
