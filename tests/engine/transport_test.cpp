// The transport's transitions, seen from outside: the graph calls, the window
// title and whether the status tick reaches the window.

#include <algorithm>

#include "support/player_harness.h"

namespace {

using harness::Calls;
using harness::kClip;
using harness::kOtherClip;

class Transport : public harness::PlayerTest {};

TEST_F(Transport, PlayPauseAndStopBeforeAnyOpenOnlyRepaint)
{
    dlg.OnPlayPause();
    EXPECT_EQ(dlg.m_nState, STATE_NONE);

    const int erases = dlg.erases;
    dlg.OnStop();
    EXPECT_EQ(dlg.m_nState, STATE_NONE);
    EXPECT_GT(dlg.erases, erases) << "Stop erases and repaints the window at once";

    EXPECT_EQ(dlg.GetWindowText(), "Telvo");
    EXPECT_EQ(graph.Record().created, 0);
    EXPECT_TRUE(StaysQuiet());
}

TEST_F(Transport, PlayPauseTogglesBetweenPlayingAndPausedAndTheTickGoesOn)
{
    OpenPlaying();

    dlg.OnPlayPause();
    EXPECT_EQ(GraphCalls(), Calls{"Pause"});
    EXPECT_EQ(dlg.m_nState, STATE_PAUSED);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Paused.");
    EXPECT_TRUE(TickArrives());

    graph.ClearLog();
    dlg.OnPlayPause();
    EXPECT_EQ(GraphCalls(), Calls{"Run"});
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Playing.");
    EXPECT_TRUE(TickArrives());
}

TEST_F(Transport, PlayPauseWhileStoppedRunsAndStartsTheTick)
{
    OpenStopped();
    ASSERT_TRUE(StaysQuiet());

    dlg.OnPlayPause();
    EXPECT_EQ(GraphCalls(), Calls{"Run"});
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Playing.");
    EXPECT_TRUE(TickArrives());
}

TEST_F(Transport, StopWhilePlayingOrPausedStopsRewindsOnlyWithAutoRewindAndEndsTheTick)
{
    for (const bool paused : {false, true}) {
        for (const int autoRewind : {1, 0}) {
            SCOPED_TRACE(testing::Message() << "paused " << paused << ", auto rewind " << autoRewind);
            if (paused)
                OpenPaused();
            else
                OpenPlaying();
            dlg.m_bAutoRewind = autoRewind;
            const int erases = dlg.erases;

            dlg.OnStop();
            EXPECT_EQ(GraphCalls(), (autoRewind ? Calls{"Stop", "put_CurrentPosition(0)"} : Calls{"Stop"}));
            EXPECT_EQ(dlg.m_nState, STATE_STOPPED);
            EXPECT_EQ(dlg.GetWindowText(), "Telvo Stopped.");
            EXPECT_GT(dlg.erases, erases);
            EXPECT_TRUE(StaysQuiet());
        }
    }
}

TEST_F(Transport, StopWhileStoppedOnlyRepaints)
{
    OpenStopped();
    const int erases = dlg.erases;
    dlg.OnStop();
    EXPECT_EQ(GraphCalls(), Calls{});
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Stopped.");
    EXPECT_GT(dlg.erases, erases);
}

TEST_F(Transport, OpeningWhilePlayingStopsTheOldGraphThenPlaysTheNewOne)
{
    OpenPlaying();
    dlg.OpenAndPlay(kOtherClip);

    const Calls calls = GraphCalls();
    ASSERT_GE(calls.size(), 6u);
    // The transport's stop, then the release of the old graph, then the new one.
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 5),
              (Calls{"Stop", "put_CurrentPosition(0)", "Stop", "put_Visible(0)", "CoCreateInstance"}));
    EXPECT_EQ(calls.back(), "Run");
    EXPECT_EQ(graph.Record().created, 2);
    EXPECT_EQ(graph.Record().alive, 1);
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Playing.");
    EXPECT_EQ(dlg.m_strPath, kOtherClip);
    EXPECT_TRUE(TickArrives());
}

TEST_F(Transport, AFailedOpenKeepsTheStateAfterTheStopStep)
{
    const Calls releaseOld{"Stop", "put_Visible(0)", "CoCreateInstance"};
    const Calls stopThenReleaseOld{"Stop", "put_CurrentPosition(0)", "Stop", "put_Visible(0)", "CoCreateInstance"};
    struct Case {
        const char* name;
        void (Transport::*reach)();
        Calls opening;
        int stateAfter;
        const char* titleAfter;
    };
    const Case cases[] = {
        {"none",    nullptr,                 Calls{"CoCreateInstance"}, STATE_NONE,    "Telvo"         },
        {"stopped", &Transport::OpenStopped, releaseOld,                STATE_STOPPED, "Telvo Stopped."},
        {"playing", &Transport::OpenPlaying, stopThenReleaseOld,        STATE_STOPPED, "Telvo Stopped."},
        {"paused",  &Transport::OpenPaused,  stopThenReleaseOld,        STATE_STOPPED, "Telvo Stopped."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dlg.m_bAutoRewind = 1;
        graph.Script().renderResult = S_OK;
        if (c.reach != nullptr)
            (this->*c.reach)();
        graph.Script().renderResult = VFW_E_NOT_FOUND;

        dlg.OpenAndPlay(kOtherClip);
        const Calls calls = GraphCalls();
        ASSERT_GE(calls.size(), c.opening.size());
        EXPECT_EQ(Calls(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(c.opening.size())), c.opening);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "Run"), 0);
        // The empty picture is laid out: the label panel gets the whole window.
        EXPECT_EQ(calls.back(), "SetWindowPosition(0,0,0,0)");
        EXPECT_EQ(dlg.m_nState, c.stateAfter);
        EXPECT_EQ(dlg.GetWindowText(), c.titleAfter);
        EXPECT_EQ(dlg.m_wndLabel.m_strError, "Error: Cannot play back the file.");
        EXPECT_TRUE(StaysQuiet());
        graph.ClearLog();
    }
}

TEST_F(Transport, AutoZoomSizesTheWindowToThePictureBeforeEveryRun)
{
    OpenPaused();
    dlg.m_bAutoZoom = 1;
    SetClientSize(500, 100);

    dlg.OnPlayPause();
    EXPECT_EQ(ClientRect(), (RECT{0, 0, 320, 240}));
    const Calls calls = GraphCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "SetWindowPosition(0,0,320,240)");
    EXPECT_EQ(calls.back(), "Run");
}

TEST_F(Transport, WithoutAGraphTheStateTitleAndTickStillChange)
{
    dlg.m_nState = STATE_STOPPED;

    dlg.OnPlayPause();
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Playing.");
    EXPECT_TRUE(TickArrives());

    dlg.OnPlayPause();
    EXPECT_EQ(dlg.m_nState, STATE_PAUSED);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Paused.");
    EXPECT_TRUE(TickArrives());

    dlg.OnStop();
    EXPECT_EQ(dlg.m_nState, STATE_STOPPED);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Stopped.");
    EXPECT_TRUE(StaysQuiet());

    EXPECT_EQ(dlg.OnGraphNotify(0, 0), 0);
    EXPECT_EQ(graph.Record().created, 0);
}

TEST_F(Transport, EachTickRefreshesTheStatusLineWithoutChangingTheState)
{
    OpenPaused();
    dlg.m_wndLabel.m_strStatus.clear();
    dlg.SendMessage(WM_TIMER, TIMER_STATUS);
    EXPECT_NE(dlg.m_wndLabel.m_strStatus.find("Paused"), std::string::npos) << dlg.m_wndLabel.m_strStatus;
    EXPECT_EQ(dlg.m_nState, STATE_PAUSED);
    EXPECT_EQ(GraphCalls(), Calls{});
}

}  // namespace
