// The medium's sound and subtitle streams through IAMStreamSelect: which plays first,
// switching while the picture goes on, and a subtitle file beside the medium.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graph_session.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace graph_test {
namespace {

struct Listed {
    DWORD flags = 0;
    DWORD group = 0;
    std::string name;
};

std::vector<Listed> List(Session& session)
{
    std::vector<Listed> listed;
    DWORD count = 0;
    EXPECT_EQ(session.streams->Count(&count), S_OK);
    for (DWORD index = 0; index < count; ++index) {
        Listed stream;
        EXPECT_EQ(session.streams->Info(static_cast<LONG>(index), &stream.flags, &stream.group, &stream.name), S_OK);
        listed.push_back(stream);
    }
    return listed;
}

// The graph's numbers of the enabled streams of a group.
std::vector<LONG> Enabled(Session& session, DWORD group)
{
    std::vector<LONG> enabled;
    const std::vector<Listed> listed = List(session);
    for (std::size_t index = 0; index < listed.size(); ++index) {
        if (listed[index].group == group && (listed[index].flags & AMSTREAMSELECTINFO_ENABLED))
            enabled.push_back(static_cast<LONG>(index));
    }
    return enabled;
}

class StreamsTest : public GraphTest {};

TEST_F(StreamsTest, SoundStreamsComeFirstThenSubtitlesAndTheMarkedDefaultPlays)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kTwoAudioMkv.name)), S_OK);
    const std::vector<Listed> audio = List(session);
    ASSERT_EQ(audio.size(), 2u);
    for (std::size_t i = 0; i < audio.size(); ++i) {
        EXPECT_EQ(audio[i].group, STREAM_GROUP_AUDIO);
        EXPECT_EQ(audio[i].name.find(test_media::kTwoAudioTracks[i].language) != std::string::npos, true)
            << audio[i].name;
    }
    // The second track is the one the file marks as default.
    EXPECT_EQ(Enabled(session, STREAM_GROUP_AUDIO), std::vector<LONG>{1});

    Session subtitled;
    ASSERT_EQ(subtitled.Render(MediaPath(test_media::kSubtitledMkv.name)), S_OK);
    const std::vector<Listed> listed = List(subtitled);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].group, STREAM_GROUP_AUDIO);
    EXPECT_EQ(listed[1].group, STREAM_GROUP_SUBTITLES);
    EXPECT_EQ(listed[2].group, STREAM_GROUP_SUBTITLES);
    EXPECT_EQ(Enabled(subtitled, STREAM_GROUP_SUBTITLES), std::vector<LONG>{2});
    EXPECT_EQ(Enabled(subtitled, STREAM_GROUP_AUDIO), std::vector<LONG>{0});

    // Without a default mark the first plays; a medium without subtitles lists none.
    Session plain;
    ASSERT_EQ(plain.Render(MediaPath(test_media::kClipMov.name)), S_OK);
    const std::vector<Listed> one = List(plain);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].flags & AMSTREAMSELECTINFO_ENABLED, AMSTREAMSELECTINFO_ENABLED);
}

TEST_F(StreamsTest, SubtitlesHideShowAndChangeButSoundCannotBeTurnedOff)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kSubtitledMkv.name)), S_OK);
    EXPECT_EQ(session.streams->Enable(0, 0), E_INVALIDARG);
    EXPECT_EQ(session.streams->Enable(2, 0), S_OK);
    EXPECT_TRUE(Enabled(session, STREAM_GROUP_SUBTITLES).empty());
    EXPECT_EQ(session.streams->Enable(1, AMSTREAMSELECTENABLE_ENABLE), S_OK);
    EXPECT_EQ(Enabled(session, STREAM_GROUP_SUBTITLES), std::vector<LONG>{1});
    EXPECT_EQ(session.streams->Enable(3, AMSTREAMSELECTENABLE_ENABLE), E_INVALIDARG);
    EXPECT_EQ(session.streams->Enable(-1, AMSTREAMSELECTENABLE_ENABLE), E_INVALIDARG);

    // Switched while it plays, the position goes on.
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.WaitForPosition([](double now) { return now > 0.5; }));
    const double before = session.Position();
    EXPECT_EQ(session.streams->Enable(2, AMSTREAMSELECTENABLE_ENABLE), S_OK);
    EXPECT_GE(session.Position(), before);
    EXPECT_TRUE(session.WaitForPosition([&](double now) { return now > before + 0.5; }));
}

TEST_F(StreamsTest, TheGraphHasNoStreamsBeforeARender)
{
    Session session;
    DWORD count = 7;
    EXPECT_EQ(session.streams->Count(&count), VFW_E_WRONG_STATE);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(session.streams->Enable(0, AMSTREAMSELECTENABLE_ENABLE), VFW_E_WRONG_STATE);
}

// The peak of each tenth of a second of what two_audio.mkv sent to the sound sink, mono.
std::vector<int> PeaksWhileSwitching(bool switchHalfway)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vantrel-tracks-" + std::to_string(getpid()) + ".raw")).string();
    // In real time, so that a switch lands inside the medium.
    const std::string sink =
        "audioconvert ! audio/x-raw,format=S16LE,channels=1,rate=44100 ! filesink sync=true location=\"" + path + "\"";
    const std::string before = std::getenv("VANTREL_AUDIOSINK") ? std::getenv("VANTREL_AUDIOSINK") : "";
    setenv("VANTREL_AUDIOSINK", sink.c_str(), 1);
    {
        Session session;
        EXPECT_EQ(session.Render(MediaPath(test_media::kTwoAudioMkv.name)), S_OK);
        EXPECT_EQ(session.audio->put_Volume(0), S_OK);
        EXPECT_EQ(session.control->Run(), S_OK);
        if (switchHalfway) {
            EXPECT_TRUE(session.WaitForPosition([](double now) { return now > 2.5; }));
            EXPECT_EQ(session.streams->Enable(0, AMSTREAMSELECTENABLE_ENABLE), S_OK);
        }
        EXPECT_TRUE(session.WaitForEvent(EC_COMPLETE));
    }
    setenv("VANTREL_AUDIOSINK", before.c_str(), 1);
    std::ifstream file(path, std::ios::binary);
    std::vector<int> peaks;
    std::vector<std::int16_t> tenth(4410);
    while (file.read(reinterpret_cast<char*>(tenth.data()), std::streamsize(tenth.size() * 2))) {
        int peak = 0;
        for (const std::int16_t sample : tenth)
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        peaks.push_back(peak);
    }
    std::filesystem::remove(path);
    return peaks;
}

TEST_F(StreamsTest, TheDefaultSoundPlaysFromTheStartAndASwitchChangesItWithoutStopping)
{
    const auto loud = static_cast<int>(32767 * test_media::kTwoAudioTracks[1].volume);
    const auto quiet = static_cast<int>(32767 * test_media::kTwoAudioTracks[0].volume);
    const std::vector<int> untouched = PeaksWhileSwitching(false);
    ASSERT_GE(untouched.size(), 55u);
    for (std::size_t i = 1; i < untouched.size() - 1; ++i)
        EXPECT_NEAR(untouched[i], loud, loud / 10) << "tenth " << i;

    const std::vector<int> switched = PeaksWhileSwitching(true);
    // The whole medium, no part of it skipped or repeated by the switch.
    EXPECT_NEAR(static_cast<double>(switched.size()), 60.0, 2.0);
    EXPECT_NEAR(switched.at(10), loud, loud / 10);
    EXPECT_NEAR(switched.at(switched.size() - 5), quiet, quiet / 10);
}

TEST_F(StreamsTest, ASubtitleFileBesideTheMediumComesFirstAndOneThatIsNoTextIsLeftOut)
{
    TempDir folder;
    const std::string medium = folder / "film.mkv";
    std::filesystem::copy_file(MediaPath(test_media::kSidecarEmbeddedMkv.name), medium);
    std::filesystem::copy_file(MediaPath(test_media::kSidecarEmbeddedSrt), folder / "film.srt");
    {
        Session session;
        ASSERT_EQ(session.Render(medium), S_OK);
        const std::vector<Listed> listed = List(session);
        ASSERT_EQ(listed.size(), 2u);
        const std::vector<LONG> enabled = Enabled(session, STREAM_GROUP_SUBTITLES);
        ASSERT_EQ(enabled.size(), 1u);
        // The file's stream has no language or title; the medium's own says "en".
        EXPECT_EQ(listed[static_cast<std::size_t>(enabled[0])].name, "");
    }

    // Noise where the subtitles should be, or a pipe that no one writes: the medium plays on.
    std::filesystem::remove(folder / "film.srt");
    std::ofstream(folder / "film.srt", std::ios::binary) << std::string(5000, '\x01') << std::string(3000, '\xfe');
    for (const bool pipe : {false, true}) {
        SCOPED_TRACE(pipe ? "a pipe" : "noise");
        if (pipe) {
            std::filesystem::remove(folder / "film.srt");
            ASSERT_EQ(::mkfifo((folder / "film.srt").c_str(), 0600), 0);
        }
        Session session;
        ASSERT_EQ(session.Render(medium), S_OK);
        EXPECT_EQ(Enabled(session, STREAM_GROUP_SUBTITLES).size(), 1u) << "the medium's own subtitles";
        ASSERT_EQ(session.control->Run(), S_OK);
        EXPECT_TRUE(session.WaitForEvent(EC_COMPLETE));
    }
}

TEST_F(StreamsTest, ATurnedPictureIsReportedUpright)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kRotatedMp4.name)), S_OK);
    LONG width = 0, height = 0;
    EXPECT_EQ(session.video->GetVideoSize(&width, &height), S_OK);
    EXPECT_EQ(width, test_media::kRotatedShownWidth);
    EXPECT_EQ(height, test_media::kRotatedShownHeight);
}

TEST_F(StreamsTest, ASeekToTheEndIsTheEndOfTheStreamNotAFailure)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kMinuteMkv.name)), S_OK);
    REFTIME length = 0;
    ASSERT_EQ(session.position->get_Duration(&length), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_EQ(session.position->put_CurrentPosition(length), S_OK);
    LONG code = 0;
    ASSERT_TRUE(session.NextEvent(&code));
    EXPECT_EQ(code, EC_COMPLETE);
}

}  // namespace
}  // namespace graph_test
