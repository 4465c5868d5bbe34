// Stepping the volume and sending it to the graph.

#include <algorithm>
#include <climits>

#include "support/player_harness.h"

namespace {

using harness::Calls;
using harness::kClip;

class Volume : public harness::PlayerTest {
protected:
    // Runs one step and tells whether the status line was rebuilt.
    bool Step(void (CPlayerDlg::*step)())
    {
        dlg.m_wndLabel.m_strStatus = "untouched";
        graph.ClearLog();
        (dlg.*step)();
        return dlg.m_wndLabel.m_strStatus != "untouched";
    }
};

TEST_F(Volume, StepsMoveTheLevelSendItAndRefreshTheStatus)
{
    struct Case {
        int level;
        void (CPlayerDlg::*step)();
        int levelAfter;
        Calls sent;  // nothing sent means the step was refused
    };
    const Case cases[] = {
        {5,       &CPlayerDlg::OnVolumeUp,   6,       {"QueryInterface(IBasicAudio)", "put_Volume(-510)"}  },
        {3,       &CPlayerDlg::OnVolumeDown, 2,       {"QueryInterface(IBasicAudio)", "put_Volume(-1609)"} },
        {9,       &CPlayerDlg::OnVolumeUp,   10,      {"QueryInterface(IBasicAudio)", "put_Volume(0)"}     },
        {1,       &CPlayerDlg::OnVolumeDown, 0,       {"QueryInterface(IBasicAudio)", "put_Volume(-10000)"}},
        {10,      &CPlayerDlg::OnVolumeUp,   10,      {}                                                   },
        {0,       &CPlayerDlg::OnVolumeDown, 0,       {}                                                   },
 // Levels from an edited settings file: sent clamped, shown as they are.
        {15,      &CPlayerDlg::OnVolumeUp,   15,      {}                                                   },
        {15,      &CPlayerDlg::OnVolumeDown, 14,      {"QueryInterface(IBasicAudio)", "put_Volume(0)"}     },
        {-3,      &CPlayerDlg::OnVolumeUp,   -2,      {"QueryInterface(IBasicAudio)", "put_Volume(-10000)"}},
        {-3,      &CPlayerDlg::OnVolumeDown, -3,      {}                                                   },
        {INT_MAX, &CPlayerDlg::OnVolumeUp,   INT_MAX, {}                                                   },
        {INT_MIN, &CPlayerDlg::OnVolumeDown, INT_MIN, {}                                                   },
    };
    OpenPlaying();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level
                                        << (c.step == &CPlayerDlg::OnVolumeUp ? " up" : " down"));
        dlg.m_nVolume = c.level;
        const LONG attenuation = dlg.m_lAttenuation;
        const bool refreshed = Step(c.step);
        EXPECT_EQ(dlg.m_nVolume, c.levelAfter);
        EXPECT_EQ(GraphCalls(), c.sent);
        EXPECT_EQ(refreshed, !c.sent.empty());
        if (c.sent.empty()) {
            EXPECT_EQ(dlg.m_lAttenuation, attenuation);
        }
        EXPECT_EQ(graph.Record().refs, 6u);
    }
}

TEST_F(Volume, AStepWithoutAGraphChangesTheLevelAndTheNextOpenSendsIt)
{
    dlg.m_nVolume = 5;
    EXPECT_TRUE(Step(&CPlayerDlg::OnVolumeUp));
    EXPECT_EQ(dlg.m_nVolume, 6);
    EXPECT_EQ(dlg.m_lAttenuation, -510);
    EXPECT_EQ(graph.Record().created, 0);

    ASSERT_TRUE(dlg.OpenMedia(kClip, FALSE));
    const Calls calls = GraphCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "put_Volume(-510)"), calls.end());
}

TEST_F(Volume, AGraphThatTakesNoVolumeStillGetsTheNewLevelShown)
{
    OpenPlaying();
    dlg.m_nVolume = 5;
    graph.Script().putVolumeResult = E_FAIL;
    EXPECT_TRUE(Step(&CPlayerDlg::OnVolumeDown));
    EXPECT_EQ(dlg.m_nVolume, 4);
    EXPECT_EQ(dlg.m_lAttenuation, -916);

    graph.Refuse(IID_IBasicAudio);
    EXPECT_TRUE(Step(&CPlayerDlg::OnVolumeDown));
    EXPECT_EQ(GraphCalls(), Calls{"QueryInterface(IBasicAudio)"});
    EXPECT_EQ(dlg.m_nVolume, 3);
    EXPECT_EQ(dlg.m_lAttenuation, -1203);
    EXPECT_EQ(graph.Record().refs, 6u);
}

}  // namespace
