// A released medium leaves nothing behind: opens of good and damaged media, and
// the loops Repeat makes, give back every pipeline and every file descriptor
// once their graph is released.

#include <dirent.h>

#include <string>

#include "graph_session.h"
#include "platform/media/live_pipelines.h"
#include "support/test_media.h"

namespace graph_test {
namespace {

int OpenDescriptors()
{
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr)
        return -1;
    int count = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    closedir(dir);
    return count - 1;  // the listing's own
}

void PlayAMoment(Session& session)
{
    ASSERT_EQ(session.control->Run(), S_OK);
    EXPECT_TRUE(session.WaitForPosition([](double now) { return now > 0.2; }));
}

class ReleasedMediaTest : public GraphTest {
protected:
    void SetUp() override
    {
        GraphTest::SetUp();
        // The first opens load plugins and the registry, which stay for the process.
        {
            Session warm;
            ASSERT_EQ(warm.Render(MediaPath(test_media::kClipMov.name)), S_OK);
            PlayAMoment(warm);
            EXPECT_TRUE(FAILED(warm.Render(MediaPath(test_media::kRandomAvi.name))));
        }
        m_descriptors = OpenDescriptors();
        m_pipelines = platform::gst::LivePipelines();
    }

    void ExpectNothingLeft() const
    {
        EXPECT_EQ(platform::gst::LivePipelines(), m_pipelines) << "pipelines still alive";
        EXPECT_EQ(OpenDescriptors(), m_descriptors) << "file descriptors still open";
    }

    int m_descriptors = 0;
    int m_pipelines = 0;
};

TEST_F(ReleasedMediaTest, GoodAndDamagedOpensGiveBackEveryPipelineAndDescriptor)
{
    const test_media::Medium good[] = {test_media::kClipMpg, test_media::kClipMov, test_media::kClipAvi,
                                       test_media::kAudioOgg};
    const test_media::Medium damaged[] = {test_media::kRandomAvi, test_media::kEmptyMpg, test_media::kTextMov};
    for (int open = 0; open < 4; ++open) {
        // A new graph for every open, as the player makes them.
        Session played;
        SCOPED_TRACE(good[open].name);
        ASSERT_EQ(played.Render(MediaPath(good[open].name)), S_OK);
        PlayAMoment(played);
        Session refused;
        EXPECT_TRUE(FAILED(refused.Render(MediaPath(damaged[open % 3].name))));
    }
    {
        // One graph rendering again over a playing medium, then failing.
        Session reused;
        ASSERT_EQ(reused.Render(MediaPath(test_media::kClipAvi.name)), S_OK);
        PlayAMoment(reused);
        // Cut short: it plays to its end, or to an error, within a fraction of a second.
        ASSERT_EQ(reused.Render(MediaPath(test_media::kTruncatedMpg.name)), S_OK);
        ASSERT_EQ(reused.control->Run(), S_OK);
        LONG code = 0;
        EXPECT_TRUE(reused.NextEvent(&code));
        EXPECT_TRUE(FAILED(reused.Render(MediaPath(test_media::kTextMov.name))));
        EXPECT_EQ(platform::gst::LivePipelines(), m_pipelines) << "a failed render keeps no pipeline";
    }
    ExpectNothingLeft();
}

TEST_F(ReleasedMediaTest, LoopsOnRepeatKeepOnePipelineAndGiveItBack)
{
    {
        Session session;
        ASSERT_EQ(session.Render(MediaPath(test_media::kClipAvi.name)), S_OK);
        ASSERT_EQ(session.control->Run(), S_OK);
        for (int loop = 0; loop < 2; ++loop) {
            ASSERT_TRUE(session.WaitForEvent(EC_COMPLETE));
            ASSERT_EQ(session.position->put_CurrentPosition(0.0), S_OK);
        }
        EXPECT_TRUE(session.WaitForPosition([](double now) { return now > 0.2; }));
        EXPECT_EQ(platform::gst::LivePipelines(), m_pipelines + 1);
    }
    ExpectNothingLeft();
}

}  // namespace
}  // namespace graph_test
