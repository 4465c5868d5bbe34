// The keys beside the menu, the wheel and the progress bar, as the player window takes
// them from the toolkit, and what the medium's tags and length changes do.

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>

#include "fakes/fake_graph.h"
#include "platform/desktop/player_facts.h"
#include "ui/player/player_dlg.h"
#include "support/window_fixture.h"

namespace {

class PlayerKeysTest : public WindowTest {
protected:
    void SetUp() override
    {
        m_app.SetRegistryKey("Quorvel");
        m_app.m_pMainWnd = &dlg;
        ASSERT_TRUE(dlg.Create(IDD_PLAYER));
        dlg.SetWindowPos(nullptr, 50, 60, 500, 200, SWP_NOZORDER);
        dlg.ShowWindow(SW_SHOW);
        graph.Script().duration = 60.0;
    }
    void TearDown() override
    {
        if (dlg.IsWindow())
            dlg.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        WindowTest::TearDown();
    }
    QWidget* Client() const { return platform::ClientWidgetOf(dlg.GetSafeHwnd()); }
    void PressKey(Qt::Key key, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(Client(), &press);
    }
    void Turn(QWidget* widget, int delta)
    {
        QWheelEvent wheel(QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(widget, &wheel);
    }
    double Position() const { return graph.Record().script.position; }
    int Seeks() const
    {
        const auto& log = graph.Log();
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [](const std::string& call) { return call.rfind("put_CurrentPosition", 0) == 0; }));
    }
    // A point of the label panel in screen coordinates.
    POINT OnPanel(int x, int y) const
    {
        POINT point{x, y};
        dlg.m_wndLabel.ClientToScreen(&point);
        return point;
    }
    int PanelWidth() const
    {
        RECT rc;
        dlg.m_wndLabel.GetClientRect(&rc);
        return rc.right;
    }
    // A press of the left button where the pointer is, as the panel forwards it.
    void PressAt(POINT screen)
    {
        QCursor::setPos(screen.x, screen.y);
        dlg.m_wndLabel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    }
    void MoveTo(POINT screen)
    {
        QCursor::setPos(screen.x, screen.y);
        POINT client = screen;
        dlg.ScreenToClient(&client);
        dlg.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    }
    POINT WindowCorner() const
    {
        RECT outer;
        dlg.GetWindowRect(&outer);
        return POINT{outer.left, outer.top};
    }

    fakes::ScopedFakeGraph graph;
    CPlayerDlg dlg;
};

}  // namespace

TEST_F(PlayerKeysTest, SeekKeysMoveWithinTheMediumAndKeepTheState)
{
    dlg.OpenAndPlay("clip.mpg");
    graph.Script().position = 30.0;
    PressKey(Qt::Key_Right);
    EXPECT_DOUBLE_EQ(Position(), 35.0);
    PressKey(Qt::Key_Left);
    PressKey(Qt::Key_Left);
    EXPECT_DOUBLE_EQ(Position(), 25.0);
    PressKey(Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Position(), 60.0) << "past the end is the end";
    PressKey(Qt::Key_Down);
    EXPECT_DOUBLE_EQ(Position(), 0.0);
    graph.Script().position = 3.0;
    PressKey(Qt::Key_Left);
    EXPECT_DOUBLE_EQ(Position(), 0.0);
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);

    dlg.OnPlayPause();
    graph.Script().position = 12.0;
    PressKey(Qt::Key_Right);
    EXPECT_EQ(dlg.m_nState, STATE_PAUSED);
    EXPECT_NE(dlg.m_wndLabel.m_strStatus.find("Paused: 17/60"), std::string::npos)
        << "shown at once: " << dlg.m_wndLabel.m_strStatus;
    dlg.OnStop();
    PressKey(Qt::Key_Home);
    EXPECT_EQ(dlg.m_nState, STATE_STOPPED);
    EXPECT_NE(dlg.m_wndLabel.m_strStatus.find("Stopped: 0/60"), std::string::npos) << dlg.m_wndLabel.m_strStatus;
}

TEST_F(PlayerKeysTest, SeekKeysDoNothingBeforeAnOpenOrOnAMediumWithoutALength)
{
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home})
        PressKey(key);
    EXPECT_EQ(Seeks(), 0);

    graph.Script().durationResult = E_FAIL;  // a live stream
    dlg.OpenAndPlay("http://radio.example/live");
    const int afterOpen = Seeks();
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home})
        PressKey(key);
    EXPECT_EQ(Seeks(), afterOpen);
}

TEST_F(PlayerKeysTest, SpaceIsPlayPauseAndDoesNothingWhereTheMenuGreysIt)
{
    PressKey(Qt::Key_Space, " ");
    EXPECT_EQ(dlg.m_nState, STATE_NONE);
    EXPECT_EQ(std::count(graph.Log().begin(), graph.Log().end(), "Run"), 0);
    dlg.OpenAndPlay("clip.mpg");
    PressKey(Qt::Key_Space, " ");
    EXPECT_EQ(dlg.m_nState, STATE_PAUSED);
    PressKey(Qt::Key_Space, " ");
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    PressKey(Qt::Key_Return);
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING) << "Enter still does nothing";
}

TEST_F(PlayerKeysTest, TheWheelStepsTheVolumeANotchAtATimeAnywhereOnTheWindow)
{
    dlg.m_nVolume = 5;
    Turn(Client(), 120);
    EXPECT_EQ(dlg.m_nVolume, 6);
    Turn(platform::ClientWidgetOf(dlg.m_wndLabel.GetSafeHwnd()), 240);
    EXPECT_EQ(dlg.m_nVolume, 8) << "two notches in one turn, over the panel";
    Turn(Client(), -60);
    EXPECT_EQ(dlg.m_nVolume, 8) << "half a notch waits for the other half";
    Turn(Client(), -60);
    EXPECT_EQ(dlg.m_nVolume, 7);
    for (int i = 0; i < 6; ++i)
        Turn(Client(), 120);
    EXPECT_EQ(dlg.m_nVolume, 10);
}

TEST_F(PlayerKeysTest, AClickOnTheBarSeeksThereAndAPressThatMovesAsFarAsADragMovesTheWindow)
{
    dlg.OpenAndPlay("clip.mpg");
    ASSERT_TRUE(dlg.m_wndLabel.ShowsProgressBar());
    const int width = PanelWidth();
    const int quarter = 5 + (width - 10) / 4;
    PressAt(OnPanel(quarter, 6));
    dlg.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_NEAR(Position(), 15.0, 60.0 / (width - 10));

    // Within the drag distance it stays a click and the window stays put.
    const POINT corner = WindowCorner();
    const int slack = GetSystemMetrics(SM_CXDRAG);
    const POINT half = OnPanel(5 + (width - 10) / 2, 6);
    PressAt(half);
    MoveTo(POINT{half.x + slack, half.y});
    EXPECT_EQ(WindowCorner(), corner);
    dlg.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_NEAR(Position(), 30.0, 60.0 / (width - 10));

    // Farther, it is a drag: the window follows and the position stays.
    graph.Script().position = 1.0;
    PressAt(half);
    MoveTo(POINT{half.x + slack + 1, half.y + 20});
    EXPECT_EQ(WindowCorner(), (POINT{corner.x + slack + 1, corner.y + 20}));
    dlg.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_DOUBLE_EQ(Position(), 1.0);

    // Below the bar, a press drags at once, as before.
    const POINT text = OnPanel(quarter, 30);
    PressAt(text);
    MoveTo(POINT{text.x + 2, text.y});
    EXPECT_EQ(WindowCorner().x, corner.x + slack + 3);
    dlg.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_DOUBLE_EQ(Position(), 1.0);
}

TEST_F(PlayerKeysTest, TheStreamKeysCycleTheSubtitlesThroughNoneHideThemAndChangeTheSound)
{
    graph.Script().streams = {
        {STREAM_GROUP_AUDIO,     "en", true },
        {STREAM_GROUP_AUDIO,     "de", false},
        {STREAM_GROUP_SUBTITLES, "en", true },
        {STREAM_GROUP_SUBTITLES, "fr", false}
    };
    dlg.OpenAndPlay("film.mkv");
    const auto enabled = [&] {
        std::string shown;
        for (const fakes::FakeStream& stream : graph.Record().script.streams)
            shown += stream.enabled ? '1' : '0';
        return shown;
    };
    PressKey(Qt::Key_J, "j");
    EXPECT_EQ(enabled(), "1001");
    PressKey(Qt::Key_J, "j");
    EXPECT_EQ(enabled(), "1000") << "after the last, none";
    PressKey(Qt::Key_J, "j");
    EXPECT_EQ(enabled(), "1010");
    PressKey(Qt::Key_V, "v");
    EXPECT_EQ(enabled(), "1000");
    PressKey(Qt::Key_V, "v");
    EXPECT_EQ(enabled(), "1010") << "shown again as they were";
    PressKey(Qt::Key_NumberSign, "#");
    EXPECT_EQ(enabled(), "0110");
    PressKey(Qt::Key_NumberSign, "#");
    EXPECT_EQ(enabled(), "1010");
    PressKey(Qt::Key_J, "J");
    EXPECT_EQ(enabled(), "1010") << "the keys are the characters, not the keys under them";
}

TEST_F(PlayerKeysTest, TheMediumsTagsNameItOnTheDesktopAndTheirChangesAndALateLengthAreTaken)
{
    graph.Script().tags.title = "Song";
    graph.Script().tags.artist = "Artist";
    dlg.OpenAndPlay("/music/song.mp3");
    desktop::PlayerFacts facts = dlg.DesktopFacts();
    EXPECT_EQ(facts.title, "Song");
    EXPECT_EQ(facts.artist, "Artist");

    graph.Script().tags = MediumTags{};
    graph.Script().tags.cover = std::make_shared<const std::vector<std::uint8_t>>(3, std::uint8_t{7});
    graph.Script().tags.coverIsPicture = true;
    graph.Script().duration = 95.5;
    graph.NotifyEvent(EC_TAGS_CHANGED);
    graph.NotifyEvent(EC_LENGTH_CHANGED);
    platform::PumpEvents(20);
    facts = dlg.DesktopFacts();
    EXPECT_EQ(facts.title, "song.mp3") << "without a title tag, the file's name";
    EXPECT_EQ(facts.cover, graph.Record().script.tags.cover);
    EXPECT_FALSE(facts.hasPicture) << "a song's cover does not keep the screen awake";
    EXPECT_DOUBLE_EQ(dlg.m_dDuration, 95.5);
    EXPECT_EQ(dlg.m_wndLabel.m_strTime, "Time: 95.500000(sec)");
}
