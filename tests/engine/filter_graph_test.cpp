// Building, opening and releasing the filter graph.

#include <algorithm>
#include <iterator>

#include "support/player_harness.h"

namespace {

using harness::Calls;
using harness::kClip;
using harness::kOtherClip;

class FilterGraph : public harness::PlayerTest {
protected:
    bool NothingHeld() const
    {
        return dlg.m_pGraph == nullptr && dlg.m_pControl == nullptr && dlg.m_pEvent == nullptr &&
               dlg.m_pVideoWindow == nullptr && dlg.m_pPosition == nullptr && dlg.m_pSeeking == nullptr;
    }
};

TEST_F(FilterGraph, CreateGraphQueriesInOrderAndStopsAtTheFirstMissingInterface)
{
    const IID* const order[] = {&IID_IMediaControl, &IID_IMediaEventEx, &IID_IVideoWindow, &IID_IMediaPosition,
                                &IID_IMediaSeeking};
    for (std::size_t missing = 0; missing < std::size(order); ++missing) {
        SCOPED_TRACE(fakes::InterfaceName(*order[missing]));
        graph.Script().missing = {*order[missing]};
        EXPECT_FALSE(dlg.CreateGraph());
        EXPECT_NE(dlg.m_pGraph, nullptr);
        const void* const held[] = {dlg.m_pControl, dlg.m_pEvent, dlg.m_pVideoWindow, dlg.m_pPosition, dlg.m_pSeeking};
        for (std::size_t i = 0; i < std::size(held); ++i)
            EXPECT_EQ(held[i] != nullptr, i < missing) << fakes::InterfaceName(*order[i]);
        dlg.ReleaseGraph();
        EXPECT_TRUE(NothingHeld());
        EXPECT_EQ(graph.Record().alive, 0) << "every reference obtained is given back";
    }

    graph.Script().missing.clear();
    graph.ClearLog();
    EXPECT_TRUE(dlg.CreateGraph());
    EXPECT_EQ(GraphCalls(), (Calls{"CoCreateInstance", "QueryInterface(IGraphBuilder)", "QueryInterface(IMediaControl)",
                                   "QueryInterface(IMediaEventEx)", "QueryInterface(IVideoWindow)",
                                   "QueryInterface(IMediaPosition)", "QueryInterface(IMediaSeeking)"}));
    EXPECT_EQ(graph.Record().refs, 6u);
}

TEST_F(FilterGraph, CreateGraphFailsWhenNoGraphCanBeMade)
{
    graph.Script().createFails = true;
    EXPECT_FALSE(dlg.CreateGraph());
    EXPECT_TRUE(NothingHeld());

    graph.Script().createFails = false;
    graph.Refuse(IID_IGraphBuilder);
    EXPECT_FALSE(dlg.CreateGraph());
    EXPECT_TRUE(NothingHeld());
    EXPECT_EQ(graph.Record().alive, 0);
}

TEST_F(FilterGraph, ReleaseGraphStopsHidesAndReleasesOnceAndLeavesTheMediumAlone)
{
    dlg.ReleaseGraph();
    EXPECT_EQ(graph.Log(), Calls{});

    OpenPlaying();
    const std::string path = dlg.m_strPath;
    const SizedRect source = dlg.m_rcSource;
    dlg.ReleaseGraph();
    EXPECT_EQ(GraphCalls(), (Calls{"Stop", "put_Visible(0)"}));
    EXPECT_TRUE(NothingHeld());
    EXPECT_EQ(graph.Record().alive, 0);
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.m_strPath, path);
    EXPECT_EQ(dlg.m_rcSource, source);
    EXPECT_EQ(dlg.m_dDuration, 60.0);

    graph.ClearLog();
    dlg.ReleaseGraph();
    EXPECT_EQ(graph.Log(), Calls{});
}

TEST_F(FilterGraph, OpenMediaRendersThenAttachesTheVideoWindowAndDescribesTheMedium)
{
    SetClientSize(500, 240);
    dlg.m_nVolume = 5;
    graph.Script().duration = 42.5;

    EXPECT_TRUE(dlg.OpenMedia(kClip, FALSE));
    const std::string self = Self();
    const Calls source{"QueryInterface(IBasicVideo)", "get_SourceLeft", "get_SourceTop", "get_SourceWidth",
                       "get_SourceHeight"};
    Calls expected{"CoCreateInstance",
                   "QueryInterface(IGraphBuilder)",
                   "QueryInterface(IMediaControl)",
                   "QueryInterface(IMediaEventEx)",
                   "QueryInterface(IVideoWindow)",
                   "QueryInterface(IMediaPosition)",
                   "QueryInterface(IMediaSeeking)",
                   "SetNotifyWindow(" + self + ",1037,0)",
                   std::string("RenderFile(") + kClip + ")",
                   "put_Owner(" + self + ")",
                   "put_WindowStyle(0x46000000)",
                   "put_MessageDrain(" + self + ")",
                   "put_AutoShow(0)",
                   "put_Visible(-1)",
                   "get_Duration",
                   "QueryInterface(IBasicAudio)",
                   "put_Volume(-693)",
                   "QueryInterface(IMediaTags)",
                   "GetTags"};
    expected.insert(expected.end(), source.begin(), source.end());  // the source rectangle
    expected.insert(expected.end(), source.begin(), source.end());  // the layout refreshes it
    expected.push_back("SetWindowPosition(0,0,320,240)");
    EXPECT_EQ(GraphCalls(), expected);

    EXPECT_EQ(dlg.m_nState, STATE_STOPPED);
    EXPECT_EQ(dlg.m_strPath, kClip);
    EXPECT_EQ(dlg.m_dDuration, 42.5);
    EXPECT_EQ(dlg.m_rcSource, (SizedRect{0, 0, 320, 240}));
    EXPECT_EQ(dlg.m_lAttenuation, -693);
    EXPECT_EQ(graph.Record().refs, 6u) << "the audio and video interfaces are given back at once";
}

TEST_F(FilterGraph, ARenderFailureKeepsTheNewGraphButForgetsTheMedium)
{
    OpenPlaying();
    graph.Script().renderResult = VFW_E_UNSUPPORTED_STREAM;
    graph.Script().duration = 5.0;
    dlg.m_nVolume = 2;

    EXPECT_FALSE(dlg.OpenMedia(kOtherClip, FALSE));
    const Calls calls = GraphCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "SetNotifyWindow(" + Self() + ",1037,0)");
    EXPECT_EQ(calls.back(), std::string("RenderFile(") + kOtherClip + ")");
    EXPECT_EQ(graph.Record().created, 2);
    EXPECT_EQ(graph.Record().alive, 1);
    EXPECT_NE(dlg.m_pGraph, nullptr);
    EXPECT_TRUE(dlg.m_strPath.empty());
    EXPECT_EQ(dlg.m_rcSource, SizedRect{});
    EXPECT_EQ(dlg.m_dDuration, 60.0);
    EXPECT_EQ(dlg.m_lAttenuation, -693);
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
}

TEST_F(FilterGraph, AMediumWithoutPictureOrLengthKeepsTheZerosAndTheOldLength)
{
    for (const bool interfaceMissing : {true, false}) {
        SCOPED_TRACE(interfaceMissing ? "no IBasicVideo" : "source getters fail");
        graph.Script().missing.clear();
        if (interfaceMissing)
            graph.Refuse(IID_IBasicVideo);
        graph.Script().sourceResult = interfaceMissing ? S_OK : E_FAIL;
        graph.Script().durationResult = E_FAIL;
        dlg.m_dDuration = 12.5;

        EXPECT_TRUE(dlg.OpenMedia(kClip, FALSE));
        EXPECT_EQ(dlg.m_rcSource, SizedRect{});
        EXPECT_EQ(dlg.m_rcVideo, SizedRect{});
        EXPECT_EQ(dlg.m_dDuration, 12.5);
        EXPECT_EQ(LabelPanelRect(), ClientRect());
    }
}

TEST_F(FilterGraph, OpenMediaTakesItsOwnCopyOfThePath)
{
    OpenPlaying();
    EXPECT_TRUE(dlg.OpenMedia(dlg.m_strPath, FALSE));
    EXPECT_EQ(dlg.m_strPath, kClip);
    EXPECT_EQ(std::count(graph.Log().begin(), graph.Log().end(), std::string("RenderFile(") + kClip + ")"), 1);
}

}  // namespace
