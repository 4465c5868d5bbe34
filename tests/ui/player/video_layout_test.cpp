// How the picture and the label panel share the window, and the zoom presets.

#include <algorithm>

#include "support/player_harness.h"

namespace {

using harness::Calls;

class VideoLayout : public harness::PlayerTest {
protected:
    SIZE Frame() const
    {
        const RECT window = WindowRect();
        const RECT client = ClientRect();
        return SIZE{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
    }
    void MoveTo(LONG x, LONG y) { dlg.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }
};

TEST_F(VideoLayout, ThePictureIsFittedAtTheTopLeftAndThePanelTakesTheRest)
{
    struct Case {
        const char* name;
        LONG clientWidth, clientHeight;
        int stretch;
        LONG sourceHeight;  // as the graph reports it on the refresh
        SizedRect video;
        RECT label;
    };
    const Case cases[] = {
        {"height limits",          500, 240, 0, 240, {0, 0, 320, 240}, {320, 0, 500, 240}},
        {"width limits",           320, 400, 0, 240, {0, 0, 320, 240}, {320, 0, 320, 400}},
        {"a tie",                  400, 300, 0, 240, {0, 0, 400, 300}, {400, 0, 400, 300}},
        {"stretched",              500, 240, 1, 240, {0, 0, 500, 240}, {500, 0, 500, 240}},
        {"height lost on refresh", 500, 240, 0, 0,   {0, 0, 500, 240}, {500, 0, 500, 240}},
    };
    OpenPlaying();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        graph.Script().sourceHeight = 240;
        dlg.m_rcSource = SizedRect{0, 0, 320, 240};
        SetClientSize(c.clientWidth, c.clientHeight);
        dlg.m_bStretch = c.stretch;
        graph.Script().sourceHeight = c.sourceHeight;

        dlg.LayoutVideo();
        const Calls calls = GraphCalls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), "SetWindowPosition(" + std::to_string(c.video.left) + "," +
                                    std::to_string(c.video.top) + "," + std::to_string(c.video.width) + "," +
                                    std::to_string(c.video.height) + ")");
        // A stretched picture needs no source size.
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "QueryInterface(IBasicVideo)"), c.stretch ? 0 : 1);
        EXPECT_EQ(dlg.m_rcVideo, c.video);
        EXPECT_EQ(LabelPanelRect(), c.label);
    }
}

TEST_F(VideoLayout, WithoutPictureThePanelCoversTheWindow)
{
    graph.Refuse(IID_IBasicVideo);
    OpenPlaying();
    SetClientSize(300, 200);
    dlg.LayoutVideo();
    ASSERT_FALSE(GraphCalls().empty());
    EXPECT_EQ(GraphCalls().back(), "SetWindowPosition(0,0,0,0)");
    EXPECT_EQ(dlg.m_rcVideo, SizedRect{});
    EXPECT_EQ(LabelPanelRect(), (RECT{0, 0, 300, 200}));
}

TEST_F(VideoLayout, WithoutAVideoWindowNothingIsTouched)
{
    graph.Refuse(IID_IVideoWindow);
    EXPECT_FALSE(dlg.CreateGraph());
    dlg.m_rcSource = SizedRect{0, 0, 320, 240};
    dlg.m_rcVideo = SizedRect{1, 2, 3, 4};
    const RECT label = LabelPanelRect();
    graph.ClearLog();

    dlg.LayoutVideo();
    EXPECT_EQ(graph.Log(), Calls{});
    EXPECT_EQ(dlg.m_rcVideo, (SizedRect{1, 2, 3, 4}));
    EXPECT_EQ(LabelPanelRect(), label);
}

TEST_F(VideoLayout, PresetsSizeTheClientAreaToTheScaledPictureAtATopLeftOnTheScreen)
{
    struct Case {
        void (CPlayerDlg::*zoom)();
        LONG x, y;  // where the window is before
        LONG clientWidth, clientHeight;
    };
    const Case cases[] = {
        {&CPlayerDlg::OnZoom25,  -30, -40, 88,  72 },
        {&CPlayerDlg::OnZoom50,  25,  -5,  176, 144},
        {&CPlayerDlg::OnZoom100, -7,  35,  352, 288},
        {&CPlayerDlg::OnZoom200, 10,  20,  704, 576},
    };
    graph.Script().sourceWidth = 352;
    graph.Script().sourceHeight = 288;
    OpenPlaying();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.clientWidth << " x " << c.clientHeight);
        MoveTo(c.x, c.y);
        const SIZE frame = Frame();
        (dlg.*c.zoom)();
        EXPECT_EQ(ClientRect(), (RECT{0, 0, c.clientWidth, c.clientHeight}));
        EXPECT_EQ(WindowRect(), (RECT{std::max(c.x, 0), std::max(c.y, 0), std::max(c.x, 0) + c.clientWidth + frame.cx,
                                      std::max(c.y, 0) + c.clientHeight + frame.cy}));
        EXPECT_EQ(dlg.m_rcVideo, (SizedRect{0, 0, c.clientWidth, c.clientHeight})) << "the picture alone shows";
    }
}

TEST_F(VideoLayout, MaximizeCoversTheDesktopWhenThereIsAPicture)
{
    OpenPlaying();
    MoveTo(30, 40);
    dlg.OnZoomMax();
    RECT desktop;
    CWnd::GetDesktopWindow()->GetClientRect(&desktop);
    EXPECT_EQ(WindowRect(), desktop);
}

TEST_F(VideoLayout, WithoutPictureEveryPresetGivesTheLabelOnlySize)
{
    graph.Refuse(IID_IBasicVideo);
    OpenPlaying();
    for (const auto zoom : {&CPlayerDlg::OnZoom25, &CPlayerDlg::OnZoom50, &CPlayerDlg::OnZoom100,
                            &CPlayerDlg::OnZoom200, &CPlayerDlg::OnZoomMax}) {
        SetClientSize(500, 400);
        const SIZE frame = Frame();
        (dlg.*zoom)();
        EXPECT_EQ(ClientRect(), (RECT{0, 0, 192, 76}));
        EXPECT_EQ(WindowRect().right - WindowRect().left, 192 + frame.cx);
        EXPECT_EQ(WindowRect().bottom - WindowRect().top, 76 + frame.cy);
    }
}

TEST_F(VideoLayout, TheFirstStartSizeIgnoresThePicture)
{
    OpenPlaying();
    dlg.SetZoom(-1.0);
    EXPECT_EQ(ClientRect(), (RECT{0, 0, 192, 76}));
}

TEST_F(VideoLayout, MinimizeIsASystemCommandToTheWindowItself)
{
    dlg.OnZoomMin();
    ASSERT_FALSE(dlg.sysCommands.empty());
    EXPECT_EQ(dlg.sysCommands.back(), SC_MINIMIZE);
}

}  // namespace
