// Draining the graph's event queue and the reaction to the end of the stream.

#include <ostream>
#include <string>

#include "support/player_harness.h"

namespace {

// An event the window has no reaction to: the drain takes it and goes on.
constexpr LONG kUnheededEvent = EC_USER + 99;

using harness::Calls;

// An event the player has no reaction to.
constexpr LONG kClockChanged = 0x0D;

constexpr const char* kErrorLine = "Error: Cannot play back the file.";

class GraphNotify : public harness::PlayerTest {};

TEST_F(GraphNotify, DrainsUpToTheFirstEndOfStreamAndLeavesTheRestQueued)
{
    OpenPlaying();
    dlg.m_bRepeat = 0;
    dlg.m_bAutoRewind = 0;
    const LONG_PTR wide = LONG_PTR{0x12345678} << 8;
    graph.QueueEvent(kUnheededEvent, 7, 8);
    graph.QueueEvent(kClockChanged, 9, 0);
    graph.QueueEvent(EC_COMPLETE, wide, 3);
    graph.QueueEvent(kUnheededEvent, 1, 2);

    EXPECT_EQ(dlg.OnGraphNotify(0, 0), 0);
    // Parameters go back to the graph whole, whatever width they have.
    EXPECT_EQ(GraphCalls(),
              (Calls{"GetEvent(0)", "FreeEventParams(" + std::to_string(kUnheededEvent) + ",7,8)", "GetEvent(0)",
                     "FreeEventParams(13,9,0)", "GetEvent(0)", "FreeEventParams(1," + std::to_string(wide) + ",3)"}));
    EXPECT_EQ(dlg.m_lEventCode, EC_COMPLETE);
    EXPECT_EQ(graph.Record().script.events.size(), 1u);

    graph.ClearLog();
    EXPECT_EQ(dlg.OnGraphNotify(0, 0), 0);
    EXPECT_EQ(GraphCalls(),
              (Calls{"GetEvent(0)", "FreeEventParams(" + std::to_string(kUnheededEvent) + ",1,2)", "GetEvent(0)"}));
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
}

TEST_F(GraphNotify, EndOfStreamWhilePlayingFollowsRepeatThenAutoRewind)
{
    struct Case {
        int repeat;
        int autoRewind;
        LONG code;
        Calls reaction;
        int stateAfter;
        const char* titleAfter;
        bool ticking;
    };
    const Case cases[] = {
        {1, 1, EC_COMPLETE,  {"put_CurrentPosition(0)"},               STATE_PLAYING, "Telvo Playing.", true},
        {1, 0, EC_USERABORT, {"put_CurrentPosition(0)"},               STATE_PLAYING, "Telvo Playing.", true},
 // Stopping rewinds once, the reaction a second time.
        {0,
         1,    EC_COMPLETE,
         {"Stop", "put_CurrentPosition(0)", "put_CurrentPosition(0)"},
         STATE_STOPPED,                                                               "Telvo Stopped.",
         false                                                                                              },
        {0, 0, EC_COMPLETE,  {},                                       STATE_PLAYING, "Telvo Playing.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "repeat " << c.repeat << ", auto rewind " << c.autoRewind);
        OpenPlaying();
        dlg.m_bRepeat = c.repeat;
        dlg.m_bAutoRewind = c.autoRewind;
        graph.Script().position = 60.0;
        graph.QueueEvent(c.code);

        dlg.OnGraphNotify(0, 0);
        Calls expected{"GetEvent(0)", "FreeEventParams(" + std::to_string(c.code) + ",0,0)"};
        expected.insert(expected.end(), c.reaction.begin(), c.reaction.end());
        EXPECT_EQ(GraphCalls(), expected);
        EXPECT_EQ(dlg.m_nState, c.stateAfter);
        EXPECT_EQ(dlg.GetWindowText(), c.titleAfter);
        EXPECT_TRUE(c.ticking ? TickArrives() : StaysQuiet());
    }
}

TEST_F(GraphNotify, EndOfStreamWhenNotPlayingOnlyRewindsWithAutoRewind)
{
    OpenStopped();
    dlg.m_bRepeat = 0;
    dlg.m_bAutoRewind = 1;
    graph.QueueEvent(EC_COMPLETE);
    dlg.OnGraphNotify(0, 0);
    EXPECT_EQ(GraphCalls(), (Calls{"GetEvent(0)", "FreeEventParams(1,0,0)", "put_CurrentPosition(0)"}));
    EXPECT_EQ(dlg.m_nState, STATE_STOPPED);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Stopped.");
}

// The end of the stream reached while not playing (a paused or stopped medium, or
// the empty graph a failed first open leaves held).
struct QuietEnd {
    const char* name;
    int stateBefore;
    int repeat;
    int autoRewind;
    Calls reaction;
    int stateAfter;
    const char* titleAfter;
    bool ticking;
};

void PrintTo(const QuietEnd& c, std::ostream* out)
{
    *out << c.name;
}

class EndOfStreamNotPlaying : public harness::PlayerTest, public testing::WithParamInterface<QuietEnd> {
protected:
    void Reach(int state)
    {
        if (state == STATE_PAUSED) {
            OpenPaused();
        } else if (state == STATE_STOPPED) {
            OpenStopped();
        } else {
            graph.Script().renderResult = VFW_E_NOT_FOUND;
            dlg.OpenAndPlay(harness::kClip);
            ASSERT_EQ(dlg.m_nState, STATE_NONE);
            graph.ClearLog();
        }
    }
};

TEST_P(EndOfStreamNotPlaying, StopsOnlyAPausedMediumAndRewindsWithTheOptions)
{
    const QuietEnd& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(c.stateBefore));
    dlg.m_bRepeat = c.repeat;
    dlg.m_bAutoRewind = c.autoRewind;
    graph.Script().position = 60.0;
    graph.QueueEvent(EC_COMPLETE);

    EXPECT_EQ(dlg.OnGraphNotify(0, 0), 0);
    Calls expected{"GetEvent(0)", "FreeEventParams(1,0,0)"};
    expected.insert(expected.end(), c.reaction.begin(), c.reaction.end());
    EXPECT_EQ(GraphCalls(), expected);
    EXPECT_EQ(dlg.m_nState, c.stateAfter);
    EXPECT_EQ(dlg.GetWindowText(), c.titleAfter);
    EXPECT_TRUE(c.ticking ? TickArrives() : StaysQuiet());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EndOfStreamNotPlaying,
    testing::Values(
        // Stopping rewinds once, the reaction a second time; the tick ends with the stop.
        QuietEnd{
            "PausedAutoRewind",
            STATE_PAUSED,
            0,
            1,
            {"Stop", "put_CurrentPosition(0)", "put_CurrentPosition(0)"},
            STATE_STOPPED,
            "Telvo Stopped.",
            false
},
        QuietEnd{"PausedRepeat", STATE_PAUSED, 1, 1, {"put_CurrentPosition(0)"}, STATE_PAUSED, "Telvo Paused.", true},
        QuietEnd{"PausedNeither", STATE_PAUSED, 0, 0, {}, STATE_PAUSED, "Telvo Paused.", true},
        QuietEnd{"StoppedNeither", STATE_STOPPED, 0, 0, {}, STATE_STOPPED, "Telvo Stopped.", false},
        QuietEnd{"NoneAutoRewind", STATE_NONE, 0, 1, {"put_CurrentPosition(0)"}, STATE_NONE, "Telvo", false},
        QuietEnd{"NoneNeither", STATE_NONE, 0, 0, {}, STATE_NONE, "Telvo", false}),
    [](const testing::TestParamInfo<QuietEnd>& row) { return std::string(row.param.name); });

// A failure, with no end of the stream: stopped as by Stop whatever the options
// (never repeated), and the error line in place of the status line. The
// medium stays held and the events behind the failure stay queued.
TEST_F(GraphNotify, AFailureStopsAsStopDoesAndShowsTheErrorLine)
{
    struct Case {
        int stateBefore;
        int repeat;
        int autoRewind;
        Calls reaction;
        const char* titleAfter;
    };
    const Case cases[] = {
        {STATE_PLAYING, 1, 1, {"Stop", "put_CurrentPosition(0)"}, "Telvo Stopped."},
        {STATE_PLAYING, 1, 0, {"Stop"},                           "Telvo Stopped."},
        {STATE_PAUSED,  0, 1, {"Stop", "put_CurrentPosition(0)"}, "Telvo Stopped."},
        {STATE_PLAYING, 0, 0, {"Stop"},                           "Telvo Stopped."},
        {STATE_STOPPED, 1, 1, {},                                 "Telvo Stopped."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.stateBefore << ", repeat " << c.repeat << ", auto rewind "
                                        << c.autoRewind);
        if (c.stateBefore == STATE_PAUSED)
            OpenPaused();
        else if (c.stateBefore == STATE_STOPPED)
            OpenStopped();
        else
            OpenPlaying();
        dlg.m_bRepeat = c.repeat;
        dlg.m_bAutoRewind = c.autoRewind;
        graph.Script().position = 30.0;
        graph.QueueEvent(kUnheededEvent, 7, 8);
        graph.QueueEvent(EC_ERRORABORT, VFW_E_NOT_FOUND, 0);
        graph.QueueEvent(kUnheededEvent, 1, 2);

        EXPECT_EQ(dlg.OnGraphNotify(0, 0), 0);
        Calls expected{"GetEvent(0)", "FreeEventParams(" + std::to_string(kUnheededEvent) + ",7,8)", "GetEvent(0)",
                       "FreeEventParams(3," + std::to_string(VFW_E_NOT_FOUND) + ",0)"};
        expected.insert(expected.end(), c.reaction.begin(), c.reaction.end());
        EXPECT_EQ(GraphCalls(), expected);
        EXPECT_EQ(graph.Record().script.events.size(), 1u);
        EXPECT_EQ(dlg.m_nState, STATE_STOPPED);
        EXPECT_EQ(dlg.GetWindowText(), c.titleAfter);
        EXPECT_TRUE(StaysQuiet());
        EXPECT_EQ(dlg.m_wndLabel.m_strStatus, "");
        EXPECT_EQ(dlg.m_wndLabel.m_strError, kErrorLine);
        EXPECT_EQ(dlg.m_strPath, harness::kClip);
        graph.Script().events.clear();
    }
}

// The failure is the medium's: a volume step or a new layout does not hide it;
// Play/Pause tries the medium again, and an open starts afresh.
TEST_F(GraphNotify, TheErrorLineStaysUntilPlayTriesAgainOrAnOpen)
{
    OpenPlaying();
    graph.QueueEvent(EC_ERRORABORT, E_FAIL, 0);
    dlg.OnGraphNotify(0, 0);
    dlg.OnVolumeUp();
    SetClientSize(400, 300);
    EXPECT_EQ(dlg.m_nVolume, 6);
    EXPECT_EQ(dlg.m_wndLabel.m_strStatus, "");
    EXPECT_EQ(dlg.m_wndLabel.m_strError, kErrorLine);

    dlg.OnPlayPause();
    EXPECT_EQ(GraphCalls(), (Calls{"Run"}));
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Playing.");
    EXPECT_TRUE(TickArrives());
    EXPECT_EQ(dlg.m_wndLabel.m_strStatus.rfind("Playing: ", 0), 0u) << dlg.m_wndLabel.m_strStatus;
    EXPECT_EQ(dlg.m_wndLabel.m_strError, "");
    EXPECT_EQ(dlg.m_wndLabel.m_strName, "clip.mpg");

    graph.QueueEvent(EC_ERRORABORT, E_FAIL, 0);
    dlg.OnGraphNotify(0, 0);
    ASSERT_EQ(dlg.m_wndLabel.m_strError, kErrorLine);
    dlg.OpenAndPlay(harness::kOtherClip);
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.m_wndLabel.m_strStatus.rfind("Playing: ", 0), 0u) << dlg.m_wndLabel.m_strStatus;
    EXPECT_EQ(dlg.m_wndLabel.m_strError, "");
}

TEST_F(GraphNotify, ThePostedNotificationReachesTheHandler)
{
    OpenPlaying();
    dlg.m_bRepeat = 0;
    dlg.m_bAutoRewind = 1;
    graph.NotifyEvent(EC_COMPLETE);
    EXPECT_TRUE(PumpUntil([&] { return dlg.m_nState == STATE_STOPPED; }));
    EXPECT_EQ(graph.Record().script.position, 0.0);
}

}  // namespace
