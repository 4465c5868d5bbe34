// The medium named at start opens beside the window system's start: the first
// render of it takes that open over, a render of anything else discards it, and
// an exit without any render leaves cleanly.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <QImage>
#include <QWidget>

#include "graph_session.h"
#include "platform/framework/app.h"
#include "platform/framework/window_host.h"
#include "platform/framework/wnd.h"
#include "platform/media/live_pipelines.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace graph_test {
namespace {

namespace fs = std::filesystem;

bool FileIsOpen(const std::string& path)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code linkError;
        if (fs::read_symlink(entry.path(), linkError) == path)
            return true;
    }
    return false;
}

// Bounded; the early open reads its file on a thread of its own.
bool WaitUntilOpen(const std::string& path)
{
    for (int i = 0; i < 1500 && !FileIsOpen(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return FileIsOpen(path);
}

bool HasPicture(Session& session)
{
    LONG width = 0, height = 0;
    return SUCCEEDED(session.video->GetVideoSize(&width, &height)) && width > 0 && height > 0;
}

class EarlyRenderTest : public GraphTest {
protected:
    void SetUp() override
    {
        GraphTest::SetUp();
        m_pipelines = platform::gst::LivePipelines();
    }

    int m_pipelines = 0;
};

TEST_F(EarlyRenderTest, TheFirstRenderOfTheMediumTakesOverTheOpenBegunForIt)
{
    TempDir dir;
    const std::string path = dir / "medium";
    fs::copy_file(MediaPath(test_media::kAudioOgg.name), path);
    platform::PrepareFirstRender(path);
    ASSERT_TRUE(WaitUntilOpen(path));
    // The file changes under the early open, which goes on with what it found.
    fs::copy_file(MediaPath(test_media::kClipAvi.name), dir / "next");
    fs::rename(dir / "next", path);

    Session session;
    ASSERT_EQ(session.Render(path), S_OK);
    EXPECT_FALSE(HasPicture(session)) << "the render made an open of its own";
    EXPECT_EQ(platform::gst::LivePipelines(), m_pipelines + 1);

    // Taken once: the next render opens the file as it is now.
    ASSERT_EQ(session.Render(path), S_OK);
    EXPECT_TRUE(HasPicture(session));
    EXPECT_EQ(platform::gst::LivePipelines(), m_pipelines + 1);
}

TEST_F(EarlyRenderTest, ARenderOfAnotherMediumClosesTheEarlyOpen)
{
    const std::string early = MediaPath(test_media::kClipMov.name);
    platform::PrepareFirstRender(early);
    ASSERT_TRUE(WaitUntilOpen(early));

    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kClipAvi.name)), S_OK);
    LONG width = 0, height = 0;
    ASSERT_EQ(session.video->GetVideoSize(&width, &height), S_OK);
    EXPECT_EQ(width, test_media::kClipAvi.width);
    EXPECT_FALSE(FileIsOpen(early));
    EXPECT_EQ(platform::gst::LivePipelines(), m_pipelines + 1);
}

TEST_F(EarlyRenderTest, APictureDecodedBeforeTheRenderIsShownWithoutPlaying)
{
    platform::EnsureToolkit();
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(WindowStyle{}, RECT{0, 0, 200, 150}, nullptr));
    owner.ShowWindow(SW_SHOW);
    const std::string path = MediaPath(test_media::kClipAvi.name);
    platform::PrepareFirstRender(path);
    ASSERT_TRUE(WaitUntilOpen(path));
    // Time to preroll, so that the picture waits for the graph (the test holds either way).
    Settle(500);

    {
        Session session;
        ASSERT_EQ(session.Render(path), S_OK);
        const auto handle = reinterpret_cast<OAHWND>(owner.GetSafeHwnd());
        ASSERT_EQ(session.window->put_Owner(handle), S_OK);
        ASSERT_EQ(session.window->put_Visible(OATRUE), S_OK);
        ASSERT_EQ(session.window->SetWindowPosition(0, 0, 140, 90), S_OK);
        QWidget* client = platform::ClientWidgetOf(owner.GetSafeHwnd());
        ASSERT_NE(client, nullptr);
        const QList<QWidget*> children = client->findChildren<QWidget*>();
        ASSERT_FALSE(children.isEmpty());
        // The colour bars' first bar is light grey, the last blue.
        const QImage shot = GrabOnceShown(children.front());
        const QColor first(shot.pixel(5, 20));
        const QColor last(shot.pixel(135, 20));
        EXPECT_GT(std::min({first.red(), first.green(), first.blue()}), 150);
        EXPECT_TRUE(last.red() < 60 && last.blue() > 150);
    }
    owner.DestroyWindow();
    platform::PumpEvents(20);
}

TEST_F(EarlyRenderTest, AnExitWithoutAnyRenderEndsTheEarlyOpenCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string path = MediaPath(test_media::kClipMov.name);
    EXPECT_EXIT(
        {
            platform::PrepareFirstRender(path);
            if (!WaitUntilOpen(path))
                std::_Exit(3);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace graph_test
