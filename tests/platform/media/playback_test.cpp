// Running, stopping and seeking the real graph, its end-of-stream event and the
// gain its volume gives the sound.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graph_session.h"
#include "support/test_media.h"

namespace graph_test {
namespace {

class PlaybackTest : public GraphTest {};

TEST_F(PlaybackTest, EndOfStreamIsQueuedAsCompleteAndTheQueueAnswersAtOnceWhenEmpty)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kOneFrameAvi.name)), S_OK);
    LONG code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    EXPECT_EQ(session.events->GetEvent(&code, &param1, &param2, 0), E_ABORT);

    ASSERT_EQ(session.control->Run(), S_OK);
    LONG_PTR first = -1;
    ASSERT_TRUE(session.NextEvent(&code, &first));
    EXPECT_EQ(code, EC_COMPLETE);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(session.events->GetEvent(&code, &param1, &param2, 0), E_ABORT);
}

class RewindTest : public GraphTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RewindTest, RewindAfterTheEndPlaysTheMediumAgain)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(GetParam())), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.WaitForEvent(EC_COMPLETE));

    ASSERT_EQ(session.position->put_CurrentPosition(0.0), S_OK);
    EXPECT_LT(session.Position(), 0.5);
    EXPECT_TRUE(session.WaitForPosition([](double now) { return now > 0.5 && now < 1.9; }));
    EXPECT_TRUE(session.WaitForEvent(EC_COMPLETE));
    EXPECT_EQ(session.State(), State_Running);
}

INSTANTIATE_TEST_SUITE_P(Media, RewindTest,
                         ::testing::Values(test_media::kClipAvi.name, test_media::kVideoOnlyAvi.name,
                                           test_media::kAudioOgg.name));

// Program and transport streams whose first picture comes well after their clock
// starts: the position runs from 0 to the length, never past it, on the first
// play, after a rewind at the end (as Repeat does) and when stopped there.
class LateStartTest : public GraphTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LateStartTest, PositionRunsFromZeroToTheLength)
{
    constexpr double kFrame = 1.0 / test_media::kFrameRate;
    Session session;
    ASSERT_EQ(session.Render(MediaPath(GetParam())), S_OK);
    REFTIME length = 0;
    ASSERT_EQ(session.position->get_Duration(&length), S_OK);
    EXPECT_NEAR(length, 2.0, test_media::kSecondsTolerance);
    EXPECT_LT(session.Position(), kFrame);

    double highest = 0;
    const auto playsToTheEnd = [&] {
        EXPECT_TRUE(session.WaitForPosition([&](double now) {
            highest = std::max(highest, now);
            return now > 1.0;
        }));
        ASSERT_TRUE(session.WaitForEvent(EC_COMPLETE));
        const double end = session.Position();
        EXPECT_LE(end, length);
        EXPECT_GE(end, length - kFrame);
        EXPECT_LE(highest, length);
    };
    ASSERT_EQ(session.control->Run(), S_OK);
    playsToTheEnd();

    ASSERT_EQ(session.position->put_CurrentPosition(0.0), S_OK);
    EXPECT_TRUE(session.WaitForPosition([](double now) { return now < 0.5; }));
    playsToTheEnd();

    // Stopped at the end, without a rewind.
    ASSERT_EQ(session.control->Stop(), S_OK);
    Settle(200);
    EXPECT_LE(session.Position(), length);
    EXPECT_GE(session.Position(), length - kFrame);

    // A seek lands where it was sent on the medium's time line.
    ASSERT_EQ(session.position->put_CurrentPosition(1.0), S_OK);
    Settle(300);
    EXPECT_NEAR(session.Position(), 1.0, kFrame);
    ASSERT_EQ(session.position->put_CurrentPosition(0.0), S_OK);
    Settle(300);
    EXPECT_LT(session.Position(), kFrame);
}

INSTANTIATE_TEST_SUITE_P(Media, LateStartTest,
                         ::testing::Values(test_media::kLateStartMpeg1.name, test_media::kLateStartMpeg2.name,
                                           test_media::kLateStartTs.name));

TEST_F(PlaybackTest, StoppedAndRewoundAfterTheEndTheMediumPlaysAgainOnRun)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kClipAvi.name)), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.WaitForEvent(EC_COMPLETE));

    ASSERT_EQ(session.control->Stop(), S_OK);
    ASSERT_EQ(session.position->put_CurrentPosition(0.0), S_OK);
    Settle(200);
    EXPECT_LT(session.Position(), 0.05);
    ASSERT_EQ(session.control->Run(), S_OK);
    EXPECT_TRUE(session.WaitForPosition([](double now) { return now > 0.5 && now < 1.9; }));
    EXPECT_TRUE(session.WaitForEvent(EC_COMPLETE));
}

TEST_F(PlaybackTest, StopHoldsThePositionAndRunGoesOnFromIt)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kClipMpg.name)), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.WaitForPosition([](double now) { return now >= 0.5; }));

    ASSERT_EQ(session.control->Stop(), S_OK);
    EXPECT_EQ(session.State(), State_Stopped);
    const double stoppedAt = session.Position();
    EXPECT_GE(stoppedAt, 0.5);
    Settle(300);
    EXPECT_NEAR(session.Position(), stoppedAt, 0.05);

    ASSERT_EQ(session.control->Run(), S_OK);
    EXPECT_EQ(session.State(), State_Running);
    EXPECT_GE(session.Position(), stoppedAt - 0.05);
    EXPECT_TRUE(session.WaitForPosition([&](double now) { return now > stoppedAt + 0.2; }));
    EXPECT_TRUE(session.WaitForEvent(EC_COMPLETE));
}

TEST_F(PlaybackTest, SeekWhilePausedMovesThePosition)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kClipMov.name)), S_OK);
    ASSERT_EQ(session.control->Pause(), S_OK);
    EXPECT_EQ(session.State(), State_Paused);
    ASSERT_EQ(session.position->put_CurrentPosition(1.25), S_OK);
    EXPECT_NEAR(session.Position(), 1.25, 0.05);
    Settle(200);
    EXPECT_NEAR(session.Position(), 1.25, 0.05);
    LONGLONG units = 0;
    EXPECT_EQ(session.seeking->GetCurrentPosition(&units), S_OK);
    EXPECT_NEAR(static_cast<double>(units) / 1e7, 1.25, 0.05);
}

// Until a seek settles the position answers with its target; a seek that fails
// must not leave it there for good.
TEST_F(PlaybackTest, ASeekThatEndsInAnErrorDoesNotFreezeThePositionAtItsTarget)
{
    const std::string copy =
        (std::filesystem::temp_directory_path() / ("vantrel-cut-" + std::to_string(getpid()) + ".ogg")).string();
    std::filesystem::copy_file(MediaPath(test_media::kAudioOgg.name), copy,
                               std::filesystem::copy_options::overwrite_existing);
    {
        Session session;
        ASSERT_EQ(session.Render(copy), S_OK);
        // The headers are read; the sound the seek needs is gone.
        std::filesystem::resize_file(copy, 2000);
        ASSERT_EQ(session.position->put_CurrentPosition(1.5), S_OK);
        EXPECT_TRUE(session.WaitForEvent(EC_ERRORABORT));
        REFTIME now = -1;
        const HRESULT read = session.position->get_CurrentPosition(&now);
        EXPECT_TRUE(FAILED(read) || std::abs(now - 1.5) > 0.05) << now;
    }
    std::filesystem::remove(copy);
}

// The system's sound, as the program picks it: this machine has no sound card, so
// the sink falls back to one that hears nothing. The environment is changed for
// the suite, before any pipeline runs.
class SystemSoundTest : public GraphTest {
protected:
    static void SetUpTestSuite() { unsetenv("VANTREL_AUDIOSINK"); }
    static void TearDownTestSuite() { setenv("VANTREL_AUDIOSINK", "fakesink", 1); }
};

TEST_F(SystemSoundTest, WithoutASoundCardTheSoundStillPlaysInRealTime)
{
    ASSERT_EQ(std::getenv("VANTREL_AUDIOSINK"), nullptr);
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kAudioOgg.name)), S_OK);
    EXPECT_EQ(session.audio->put_Volume(0), S_OK);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.WaitForEvent(EC_COMPLETE));
    // A sink that does not keep the clock would finish the 2 s almost at once.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

// Plays audio.ogg at `attenuation` into a raw file and gives back its samples.
std::vector<std::int16_t> SamplesPlayedAt(LONG attenuation)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vantrel-gain-" + std::to_string(getpid()) + ".raw")).string();
    const std::string sink = "audioconvert ! audio/x-raw,format=S16LE ! filesink location=\"" + path + "\"";
    const std::string before = std::getenv("VANTREL_AUDIOSINK") ? std::getenv("VANTREL_AUDIOSINK") : "";
    setenv("VANTREL_AUDIOSINK", sink.c_str(), 1);
    {
        Session session;
        EXPECT_EQ(session.Render(MediaPath(test_media::kAudioOgg.name)), S_OK);
        EXPECT_EQ(session.audio->put_Volume(attenuation), S_OK);
        LONG shown = 1;
        EXPECT_EQ(session.audio->get_Volume(&shown), S_OK);
        EXPECT_EQ(shown, attenuation);
        EXPECT_EQ(session.control->Run(), S_OK);
        EXPECT_TRUE(session.WaitForEvent(EC_COMPLETE));
    }  // the release closes the file
    setenv("VANTREL_AUDIOSINK", before.c_str(), 1);

    std::ifstream file(path, std::ios::binary);
    std::vector<std::int16_t> samples;
    std::int16_t sample = 0;
    while (file.read(reinterpret_cast<char*>(&sample), sizeof sample))
        samples.push_back(sample);
    std::filesystem::remove(path);
    return samples;
}

// The loudest sample from `from` (a fraction of the length) on.
int Peak(const std::vector<std::int16_t>& samples, double from)
{
    int peak = 0;
    for (auto i = static_cast<std::size_t>(from * static_cast<double>(samples.size())); i < samples.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

TEST_F(PlaybackTest, VolumeIsALinearGainOfTenToTheAttenuationOverTwoThousand)
{
    const int full = Peak(SamplesPlayedAt(0), 0.5);
    ASSERT_GT(full, 1000);
    for (const LONG attenuation : {LONG{-602}, LONG{-2302}}) {
        SCOPED_TRACE(attenuation);
        const double expected = std::pow(10.0, attenuation / 2000.0);
        EXPECT_NEAR(Peak(SamplesPlayedAt(attenuation), 0.5) / static_cast<double>(full), expected, 0.01);
    }
    // Silence from the very first sample: what prerolled before the volume was set too.
    const std::vector<std::int16_t> muted = SamplesPlayedAt(-10000);
    EXPECT_GT(muted.size(), 44100u);
    EXPECT_EQ(Peak(muted, 0.0), 0);
}

TEST_F(PlaybackTest, VolumeOutsideTheRangeIsRefusedAndForgotten)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kClipAvi.name)), S_OK);
    ASSERT_EQ(session.audio->put_Volume(-1203), S_OK);
    EXPECT_EQ(session.audio->put_Volume(1), E_INVALIDARG);
    EXPECT_EQ(session.audio->put_Volume(-10001), E_INVALIDARG);
    LONG volume = 0;
    EXPECT_EQ(session.audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -1203);
}

}  // namespace
}  // namespace graph_test
