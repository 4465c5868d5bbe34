// Rendering media into the real graph: what it reports of each generated file,
// and how it refuses what cannot be played.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "graph_session.h"
#include "support/scoped_env.h"
#include "support/test_media.h"

namespace graph_test {
namespace {

constexpr LONG kUntouched = -7;

class RenderTest : public GraphTest {};

// Failures must come from the medium, not from running into the wait bound.
void ExpectRefused(const std::string& pathOrUrl)
{
    SCOPED_TRACE(pathOrUrl);
    Session session;
    const auto start = std::chrono::steady_clock::now();
    const HRESULT result = session.Render(pathOrUrl);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(FAILED(result));
    EXPECT_NE(result, VFW_E_TIMEOUT);
    REFTIME length = -1;
    EXPECT_TRUE(FAILED(session.position->get_Duration(&length)));
    EXPECT_EQ(length, -1);
}

TEST_F(RenderTest, ReportsLengthPictureAndSoundOfEachPlayableMedium)
{
    for (const test_media::Medium& medium : test_media::kAll) {
        if (!medium.plays)
            continue;
        SCOPED_TRACE(medium.name);
        Session session;
        ASSERT_EQ(session.Render(MediaPath(medium.name)), S_OK);

        REFTIME length = 0;
        if (FAILED(session.position->get_Duration(&length))) {
            // A stream without an index (an MP3) tells its length once it plays, and says so.
            ASSERT_EQ(session.control->Run(), S_OK);
            EXPECT_TRUE(session.WaitForEvent(EC_LENGTH_CHANGED));
            ASSERT_EQ(session.control->Stop(), S_OK);
        }
        EXPECT_EQ(session.position->get_Duration(&length), S_OK);
        EXPECT_NEAR(length, medium.seconds, test_media::kSecondsTolerance);
        LONGLONG units = 0;
        EXPECT_EQ(session.seeking->GetDuration(&units), S_OK);
        EXPECT_NEAR(static_cast<double>(units) / 1e7, length, 1e-6);

        LONG left = kUntouched, top = kUntouched, width = kUntouched, height = kUntouched;
        const HRESULT reads[] = {session.video->get_SourceLeft(&left), session.video->get_SourceTop(&top),
                                 session.video->get_SourceWidth(&width), session.video->get_SourceHeight(&height)};
        for (const HRESULT read : reads)
            EXPECT_EQ(SUCCEEDED(read), medium.width > 0);
        if (medium.width > 0) {
            EXPECT_EQ(left, 0);
            EXPECT_EQ(top, 0);
            EXPECT_EQ(width, medium.squareWidth);
            EXPECT_EQ(height, medium.height);
        } else {
            // No picture: the caller's values stay as they were.
            EXPECT_EQ(left, kUntouched);
            EXPECT_EQ(top, kUntouched);
            EXPECT_EQ(width, kUntouched);
            EXPECT_EQ(height, kUntouched);
        }

        EXPECT_EQ(SUCCEEDED(session.audio->put_Volume(-693)), medium.audio);
        EXPECT_EQ(session.State(), State_Stopped);
    }
}

TEST_F(RenderTest, RefusesMissingEmptyDamagedAndIncompleteSources)
{
    ExpectRefused(MediaPath("no such file.mpg"));
    ExpectRefused("");
    ExpectRefused(VANTREL_MEDIA_DIR);
    ExpectRefused("http://");
    // A file URL of another machine is not the local file of the same path.
    ExpectRefused("file://otherhost" + MediaPath(test_media::kClipAvi.name));
    {
        Session here;
        EXPECT_EQ(here.Render("file://localhost" + MediaPath(test_media::kClipAvi.name)), S_OK);
    }
    for (const test_media::Medium& medium : test_media::kAll) {
        if (!medium.plays)
            ExpectRefused(MediaPath(medium.name));
    }
}

// Streams that GStreamer finds but that decode to nothing: no picture and no
// sound to show, so nothing to open.
TEST_F(RenderTest, RefusesAMediumThatDecodesToNothing)
{
    for (const char* name :
         {test_media::kNoSamplesWav.name, test_media::kFakeH263Avi.name, test_media::kTypefoundNoiseAvi.name}) {
        SCOPED_TRACE(name);
        Session session;
        EXPECT_EQ(session.Render(MediaPath(name)), VFW_E_UNSUPPORTED_STREAM);
        LONG width = kUntouched;
        EXPECT_TRUE(FAILED(session.video->get_SourceWidth(&width)));
        EXPECT_EQ(width, kUntouched);
    }
}

// Whatever came before, a broken local file is refused for what it is, never by
// running into the wait bound: the bound is set far beyond the test's time-out.
TEST_F(RenderTest, ABrokenLocalFileAfterAGoodOneFailsForItsOwnReason)
{
    const ScopedEnv longBound("VANTREL_RENDER_TIMEOUT_MS", "3600000");
    struct Broken {
        const char* name;
        HRESULT result;
    };
    for (const Broken broken : {
             Broken{test_media::kTruncatedMov.name, VFW_E_UNSUPPORTED_STREAM},
             Broken{test_media::kFakeH263Avi.name,  VFW_E_UNSUPPORTED_STREAM}
    }) {
        for (const char* good : {test_media::kClipMov.name, test_media::kClipAvi.name, test_media::kClipMpg.name}) {
            for (int round = 0; round < 4; ++round) {
                SCOPED_TRACE(std::string(good) + " then " + broken.name + ", round " + std::to_string(round));
                Session session;
                ASSERT_EQ(session.Render(MediaPath(good)), S_OK);
                EXPECT_EQ(session.Render(MediaPath(broken.name)), broken.result);
            }
        }
    }
}

// A folder of its own, removed with what the test left in it.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-render-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~ScratchDir()
    {
        if (!m_path.empty())
            std::filesystem::remove_all(m_path);
    }
    bool Made() const { return !m_path.empty(); }
    std::string operator/(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Opening a pipe would wait for a writer, a socket or a device never ends: none
// of them is a medium, and none may hold up the caller.
TEST_F(RenderTest, RefusesWhatIsNotARegularFile)
{
    const ScratchDir dir;
    ASSERT_TRUE(dir.Made());
    const std::string fifo = dir / "pipe.mpg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ExpectRefused(fifo);
    ExpectRefused("file://" + fifo);

    const std::string socketPath = dir / "socket.mpg";
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ExpectRefused(socketPath);
    close(listener);

    ExpectRefused("/dev/zero");
    ExpectRefused("file:///dev/zero");
    ExpectRefused("file://" VANTREL_MEDIA_DIR);
}

TEST_F(RenderTest, FindsARelativePathFromTheWorkingDirectory)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(VANTREL_MEDIA_DIR);
    Session session;
    const HRESULT result = session.Render(test_media::kClipAvi.name);
    std::filesystem::current_path(before);
    EXPECT_EQ(result, S_OK);
}

TEST_F(RenderTest, ANewRenderReplacesTheMediumAndAFailedOneLeavesNone)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kClipMov.name)), S_OK);
    ASSERT_EQ(session.Render(MediaPath(test_media::kAudioOgg.name)), S_OK);
    LONG width = kUntouched;
    EXPECT_TRUE(FAILED(session.video->get_SourceWidth(&width)));
    EXPECT_EQ(width, kUntouched);

    EXPECT_TRUE(FAILED(session.Render(MediaPath(test_media::kRandomAvi.name))));
    REFTIME length = -1;
    EXPECT_TRUE(FAILED(session.position->get_Duration(&length)));
    EXPECT_TRUE(FAILED(session.audio->put_Volume(0)));
    // The transport still answers on the empty graph.
    EXPECT_TRUE(SUCCEEDED(session.control->Run()));
    EXPECT_EQ(session.State(), State_Running);
}

}  // namespace
}  // namespace graph_test
