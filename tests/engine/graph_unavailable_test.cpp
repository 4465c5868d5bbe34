// When no filter graph can be built: the one message box, and a transport that
// goes on without a graph.

#include <algorithm>

#include "support/player_harness.h"
#include "platform/framework/message_box.h"

namespace {

using harness::Calls;
using harness::kClip;
using harness::kOtherClip;

class GraphUnavailable : public harness::PlayerTest {
protected:
    void SetUp() override
    {
        platform::SetMessageBoxHook([this](const platform::MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
        harness::PlayerTest::SetUp();
    }
    void TearDown() override
    {
        harness::PlayerTest::TearDown();
        platform::SetMessageBoxHook({});
    }

    std::vector<platform::MessageBoxCall> boxes;
};

TEST_F(GraphUnavailable, OpeningAtStartShowsOneBoxAndLeavesNoMedium)
{
    graph.Script().createFails = true;
    dlg.OpenAndPlay(kClip);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, &dlg);
    EXPECT_EQ(boxes[0].text, "DirectShow is not Installed.");
    EXPECT_EQ(boxes[0].caption, harness::kAppName);
    EXPECT_EQ(boxes[0].type, MB_OK | MB_ICONERROR);
    EXPECT_EQ(dlg.m_nState, STATE_NONE);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo");
    EXPECT_TRUE(dlg.m_strPath.empty());
    EXPECT_EQ(dlg.m_wndLabel.m_strError, "Error: Cannot play back the file.");
}

TEST_F(GraphUnavailable, EachMissingPieceShowsTheBoxAndKeepsThePreviousMedium)
{
    const IID* const pieces[] = {&IID_IGraphBuilder, &IID_IMediaControl,  &IID_IMediaEventEx,
                                 &IID_IVideoWindow,  &IID_IMediaPosition, &IID_IMediaSeeking};
    for (const IID* piece : pieces) {
        SCOPED_TRACE(fakes::InterfaceName(*piece));
        graph.Script().missing.clear();
        OpenPlaying();
        graph.Refuse(*piece);
        boxes.clear();

        EXPECT_FALSE(dlg.OpenMedia(kOtherClip, FALSE));
        EXPECT_EQ(boxes.size(), 1u);
        EXPECT_EQ(std::count(graph.Log().begin(), graph.Log().end(), "SetNotifyWindow(" + Self() + ",1037,0)"), 0)
            << "nothing is rendered";
        EXPECT_EQ(dlg.m_strPath, kClip);
        EXPECT_EQ(dlg.m_rcSource, (SizedRect{0, 0, 320, 240}));
        EXPECT_EQ(dlg.m_dDuration, 60.0);
        EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    }
}

TEST_F(GraphUnavailable, AfterAFailedCreationTheTransportStillChangesStateTitleAndTick)
{
    OpenPlaying();
    graph.Script().createFails = true;
    dlg.OpenAndPlay(kOtherClip);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(dlg.m_nState, STATE_STOPPED);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Stopped.");
    EXPECT_EQ(dlg.m_pControl, nullptr);
    graph.ClearLog();

    dlg.OnPlayPause();
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Playing.");
    EXPECT_TRUE(TickArrives());

    dlg.OnVolumeDown();
    dlg.OnStop();
    EXPECT_EQ(dlg.m_nState, STATE_STOPPED);
    EXPECT_TRUE(StaysQuiet());
    EXPECT_EQ(graph.Log(), Calls{});
}

}  // namespace
