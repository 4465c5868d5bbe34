// The popup menu's states and placement, the option switches and the keys, as the
// player window drives them.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "fakes/fake_graph.h"
#include "platform/framework/menu.h"
#include "platform/system/profile_store.h"
#include "ui/player/player_dlg.h"
#include "support/window_fixture.h"

namespace {

// What one showing of the popup looked like.
struct Shown {
    int count = 0;
    POINT point{};
    CWnd* owner = nullptr;
    std::vector<UINT> greyed;
    std::vector<UINT> checked;
};

constexpr UINT kAllCommands[] = {ID_PLAY_PAUSE, ID_STOP,      ID_VOLUME_UP, ID_VOLUME_DOWN, ID_ZOOM_MIN,    ID_ZOOM_25,
                                 ID_ZOOM_50,    ID_ZOOM_100,  ID_ZOOM_200,  ID_ZOOM_MAX,    ID_AUTO_REWIND, ID_REPEAT,
                                 ID_STRETCH,    ID_AUTO_ZOOM, ID_FILE_OPEN, ID_APP_ABOUT,   ID_APP_EXIT};

class PlayerCommandsTest : public WindowTest {
protected:
    void SetUp() override
    {
        m_app.SetRegistryKey("Quorvel");
        m_app.m_pMainWnd = &dlg;
        ASSERT_TRUE(dlg.Create(IDD_PLAYER));
        dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        CMenu::SetPopupChooser({});
        if (dlg.IsWindow())
            dlg.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        WindowTest::TearDown();
    }
    // Opens the popup; `choose` is the item picked (0 dismisses it).
    Shown OpenMenu(POINT at, UINT choose = 0)
    {
        Shown shown;
        CMenu::SetPopupChooser([&](const PopupTracking& t) {
            ++shown.count;
            shown.point = t.point;
            shown.owner = t.owner;
            for (UINT id : kAllCommands) {
                if (t.menu->IsGrayed(id))
                    shown.greyed.push_back(id);
                if (t.menu->IsChecked(id))
                    shown.checked.push_back(id);
            }
            return choose;
        });
        dlg.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg.GetSafeHwnd()), MAKELPARAM(at.x, at.y));
        CMenu::SetPopupChooser({});
        return shown;
    }
    void PressKey(Qt::Key key, bool autoRepeat = false)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
        QCoreApplication::sendEvent(platform::ClientWidgetOf(dlg.GetSafeHwnd()), &press);
    }

    fakes::ScopedFakeGraph graph;
    CPlayerDlg dlg;
};

}  // namespace

TEST_F(PlayerCommandsTest, GreyItemsFollowTheStateAndTheVolume)
{
    Shown shown = OpenMenu({300, 200});
    EXPECT_EQ(shown.count, 1);
    EXPECT_EQ(shown.greyed, (std::vector<UINT>{ID_PLAY_PAUSE, ID_STOP, ID_VOLUME_UP, ID_VOLUME_DOWN}))
        << "nothing opened yet";

    dlg.OpenAndPlay("clip.mpg");
    dlg.PausePlayback();
    dlg.StopPlayback();
    ASSERT_EQ(dlg.m_nState, STATE_STOPPED);
    EXPECT_EQ(OpenMenu({0, 0}).greyed, (std::vector<UINT>{ID_STOP}));

    dlg.StartPlayback();
    dlg.m_nVolume = 10;
    EXPECT_EQ(OpenMenu({0, 0}).greyed, (std::vector<UINT>{ID_VOLUME_UP}));
    dlg.m_nVolume = 0;
    EXPECT_EQ(OpenMenu({0, 0}).greyed, (std::vector<UINT>{ID_VOLUME_DOWN}));
    dlg.m_nVolume = 42;
    EXPECT_TRUE(OpenMenu({0, 0}).greyed.empty()) << "only exactly 0 and 10 grey a Volume item";
}

TEST_F(PlayerCommandsTest, MenuOpensAtThePointerOrBesideTheClientCornerFromTheKeyboard)
{
    Shown atPointer = OpenMenu({321, 123});
    EXPECT_EQ(atPointer.point, (POINT{321, 123}));
    EXPECT_EQ(atPointer.owner, &dlg);

    POINT corner{0, 0};
    dlg.ClientToScreen(&corner);
    Shown fromKeys = OpenMenu({-1, -1});
    EXPECT_EQ(fromKeys.point, (POINT{corner.x + 5, corner.y + 5}));

    // A right-click on the panel asks the player for the same menu.
    Shown shown;
    CMenu::SetPopupChooser([&](const PopupTracking& t) {
        ++shown.count;
        shown.point = t.point;
        return 0u;
    });
    dlg.m_wndLabel.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg.m_wndLabel.GetSafeHwnd()),
                               MAKELPARAM(50, 60));
    EXPECT_EQ(shown.count, 1);
    EXPECT_EQ(shown.point, (POINT{50, 60}));
}

TEST_F(PlayerCommandsTest, SwitchesToggleByNegationShowTheirMarksAndAreSaved)
{
    dlg.m_bRepeat = 2;
    dlg.m_bAutoZoom = 1;
    dlg.m_bStretch = 7;
    Shown shown = OpenMenu({0, 0});
    EXPECT_EQ(shown.checked, (std::vector<UINT>{ID_AUTO_REWIND, ID_REPEAT, ID_STRETCH, ID_AUTO_ZOOM}));

    OpenMenu({0, 0}, ID_REPEAT);
    EXPECT_EQ(dlg.m_bRepeat, 0);
    OpenMenu({0, 0}, ID_AUTO_REWIND);
    EXPECT_EQ(dlg.m_bAutoRewind, 0);
    OpenMenu({0, 0}, ID_AUTO_REWIND);
    EXPECT_EQ(dlg.m_bAutoRewind, 1);
    EXPECT_EQ(OpenMenu({0, 0}).checked, (std::vector<UINT>{ID_AUTO_REWIND, ID_STRETCH, ID_AUTO_ZOOM}));

    dlg.DestroyWindow();
    const ProfileStore saved((m_config / "Quorvel" / "vantrel-test.conf").string());
    EXPECT_EQ(saved.Read("System", "Repeat"), 0);
    EXPECT_EQ(saved.Read("System", "AutoRewind"), 1);
    EXPECT_EQ(saved.Read("System", "StretchWindow"), 7) << "not flipped: written back as read";
}

TEST_F(PlayerCommandsTest, StretchLaysThePictureOutAtOnce)
{
    dlg.SetWindowPos(nullptr, 0, 0, 508, 248, SWP_NOZORDER);  // client 500 x 240
    dlg.OpenAndPlay("clip.mpg");                              // the fake's picture is 320 x 240
    ASSERT_EQ(dlg.m_rcVideo, (SizedRect{0, 0, 320, 240}));
    OpenMenu({0, 0}, ID_STRETCH);
    EXPECT_EQ(dlg.m_rcVideo, (SizedRect{0, 0, 500, 240}));
    RECT panel;
    dlg.m_wndLabel.GetClientRect(&panel);
    EXPECT_EQ(panel.right, 0);
    OpenMenu({0, 0}, ID_STRETCH);
    EXPECT_EQ(dlg.m_rcVideo, (SizedRect{0, 0, 320, 240}));
}

TEST_F(PlayerCommandsTest, PageUpAndDownStepOnEveryKeyDownWithinTheScale)
{
    PressKey(Qt::Key_PageDown);
    EXPECT_EQ(dlg.m_nVolume, 4) << "the keys work before anything is opened";

    dlg.OpenAndPlay("clip.mpg");
    dlg.m_nVolume = 7;
    PressKey(Qt::Key_PageUp);
    for (int i = 0; i < 5; ++i)
        PressKey(Qt::Key_PageUp, true);
    EXPECT_EQ(dlg.m_nVolume, 10) << "auto-repeats step too, and stop at 10";
    EXPECT_EQ(graph.Record().volume, 0);
    PressKey(Qt::Key_PageDown);
    EXPECT_EQ(dlg.m_nVolume, 9);
    EXPECT_EQ(graph.Record().volume, -105);
    EXPECT_NE(dlg.m_wndLabel.m_strStatus.find("Volume: 9/10"), std::string::npos);
}

TEST_F(PlayerCommandsTest, ExitFromTheMenuClosesThroughTheApplication)
{
    OpenMenu({0, 0}, ID_APP_EXIT);
    EXPECT_FALSE(dlg.IsWindowVisible()) << "the dialog ended";
}
