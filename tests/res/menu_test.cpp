// CMenu: loading the popup menu, its grey and check states by command, and the
// tracking that ends in a WM_COMMAND to the owner.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <vector>

#include "platform/framework/app.h"
#include "platform/framework/menu.h"
#include "platform/framework/wnd.h"
#include "res/resource.h"
#include "res/resource_table.h"

namespace {

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::EnsureToolkit();
        res::RegisterResources();
    }
    void TearDown() override { CMenu::SetPopupChooser({}); }
};

// The context menu of a fresh load.
class PopupTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        ASSERT_TRUE(menu.LoadMenu(IDR_POPUP));
        popup = menu.GetSubMenu(0);
        ASSERT_NE(popup, nullptr);
    }
    CMenu menu;
    CMenu* popup = nullptr;
};

TEST_F(PopupTest, HasTheItemsOfTheResourceInOrder)
{
    EXPECT_EQ(popup->ItemTexts(), (std::vector<std::string>{"Play/Pause", "Stop", "", "Volume", "Zoom", "Options", "",
                                                            "Render File...", "", "About...", "", "Exit"}));
    EXPECT_TRUE(popup->IsSeparator(2));
    EXPECT_EQ(popup->GetMenuItemID(3), MENU_ITEM_NOT_FOUND) << "a sub-menu has no command id";
    EXPECT_EQ(popup->GetMenuItemID(11), ID_APP_EXIT);
    ASSERT_NE(popup->GetSubMenu(3), nullptr);
    EXPECT_EQ(popup->GetSubMenu(3)->ItemTexts(),
              (std::vector<std::string>{"Up  (PageUp Key)", "Down  (PageDown Key)"}));
    EXPECT_EQ(popup->GetSubMenu(5)->GetMenuItemID(3), ID_AUTO_ZOOM);
}

TEST_F(PopupTest, GreysAndChecksByCommandInSubMenus)
{
    EXPECT_EQ(menu.EnableMenuItem(ID_VOLUME_UP, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(menu.CheckMenuItem(ID_STRETCH, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(popup->EnableMenuItem(ID_STOP, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);

    EXPECT_TRUE(popup->IsGrayed(ID_VOLUME_UP));
    EXPECT_TRUE(popup->GetSubMenu(3)->IsGrayed(ID_VOLUME_UP));
    EXPECT_FALSE(popup->IsGrayed(ID_VOLUME_DOWN));
    EXPECT_TRUE(menu.IsGrayed(ID_STOP));
    EXPECT_TRUE(popup->IsChecked(ID_STRETCH));
    EXPECT_FALSE(popup->IsChecked(ID_REPEAT));
    EXPECT_FALSE(popup->IsChecked(ID_VOLUME_UP)) << "grey and check are separate";

    // The previous state comes back, and enabling undoes greying.
    EXPECT_EQ(menu.EnableMenuItem(ID_VOLUME_UP, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_FALSE(menu.IsGrayed(ID_VOLUME_UP));
    EXPECT_EQ(menu.CheckMenuItem(ID_STRETCH, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_FALSE(menu.IsChecked(ID_STRETCH));

    // Ids that name no item, and the 0 of separators and sub-menus, change nothing.
    EXPECT_EQ(menu.EnableMenuItem(12345, MF_GRAYED), MENU_ITEM_NOT_FOUND);
    EXPECT_EQ(menu.CheckMenuItem(0, MF_CHECKED), MENU_ITEM_NOT_FOUND);
}

TEST_F(PopupTest, EveryLoadStartsFromTheResource)
{
    menu.EnableMenuItem(ID_PLAY_PAUSE, MF_GRAYED);
    menu.CheckMenuItem(ID_REPEAT, MF_CHECKED);
    ASSERT_TRUE(menu.LoadMenu(IDR_POPUP));
    EXPECT_FALSE(menu.IsGrayed(ID_PLAY_PAUSE));
    EXPECT_FALSE(menu.IsChecked(ID_REPEAT));
    EXPECT_EQ(menu.GetSubMenu(0)->GetMenuItemCount(), 12);

    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_EQ(menu.GetMenuItemCount(), 0);
    EXPECT_FALSE(menu.LoadMenu(IDR_POPUP + 1));
}

// A top-level window that records the commands it receives.
class CommandWindow : public CWnd {
public:
    CommandWindow() { CreateEx(WindowStyle{}, RECT{100, 100, 300, 250}, nullptr); }
    ~CommandWindow() override { DestroyWindow(); }
    std::vector<WPARAM> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(PopupTest, TheChooserSeesTheTrackedMenuAndTheOwnerGetsTheCommand)
{
    CommandWindow owner;
    popup->EnableMenuItem(ID_STOP, MF_GRAYED);
    std::vector<PopupTracking> seen;
    UINT answer = ID_ZOOM_200;
    CMenu::SetPopupChooser([&](const PopupTracking& t) {
        seen.push_back(t);
        EXPECT_TRUE(t.menu->IsGrayed(ID_STOP)) << "the states set before tracking are visible";
        return answer;
    });

    EXPECT_TRUE(popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 40, 60, &owner));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].menu, popup);
    EXPECT_EQ(seen[0].flags, TPM_RIGHTBUTTON);
    EXPECT_EQ(seen[0].point, (POINT{40, 60}));
    EXPECT_EQ(seen[0].owner, &owner);
    EXPECT_EQ(owner.commands, (std::vector<WPARAM>{ID_ZOOM_200}));

    // Dismissed, a greyed item or an id the menu does not have: no command.
    for (UINT id : {0u, ID_STOP, 4242u}) {
        answer = id;
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, &owner);
    }
    EXPECT_EQ(owner.commands.size(), 1u);

    answer = ID_APP_EXIT;
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), static_cast<BOOL>(ID_APP_EXIT));
    EXPECT_EQ(owner.commands.size(), 1u) << "a returned command is not sent";
}

// The real popup: the test acts on it once it is open.
QMenu* OpenPopup()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void Click(QWidget* w, QPoint at, Qt::MouseButton button)
{
    const QPointF local(at);
    const QPointF global(w->mapToGlobal(at));
    QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

QAction* ActionNamed(QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

TEST_F(PopupTest, TheRealMenuShowsTheStatesAndEitherButtonChooses)
{
    CommandWindow owner;
    popup->EnableMenuItem(ID_PLAY_PAUSE, MF_GRAYED);
    popup->CheckMenuItem(ID_REPEAT, MF_CHECKED);

    struct Seen {
        QStringList texts;
        QPoint pos;
        bool playEnabled = true, stopEnabled = false, repeatChecked = false, rewindCheckable = true;
    } seen;
    QTimer::singleShot(0, [&] {
        QMenu* open = OpenPopup();
        ASSERT_NE(open, nullptr);
        for (QAction* a : open->actions())
            seen.texts << a->text();
        seen.pos = open->pos();
        seen.playEnabled = ActionNamed(open, "Play/Pause")->isEnabled();
        QAction* stop = ActionNamed(open, "Stop");
        seen.stopEnabled = stop->isEnabled();
        QMenu* options = ActionNamed(open, "Options")->menu();
        seen.repeatChecked = ActionNamed(options, "Repeat")->isChecked();
        seen.rewindCheckable = ActionNamed(options, "Auto rewind")->isCheckable();
        Click(open, open->actionGeometry(stop).center(), Qt::RightButton);
    });
    EXPECT_TRUE(popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 30, 40, &owner));

    EXPECT_EQ(seen.texts, (QStringList{"Play/Pause", "Stop", "", "Volume", "Zoom", "Options", "", "Render File...", "",
                                       "About...", "", "Exit"}));
    EXPECT_EQ(seen.pos, QPoint(30, 40)) << "top-left corner at the point";
    EXPECT_FALSE(seen.playEnabled);
    EXPECT_TRUE(seen.stopEnabled);
    EXPECT_TRUE(seen.repeatChecked);
    EXPECT_FALSE(seen.rewindCheckable);
    EXPECT_EQ(owner.commands, (std::vector<WPARAM>{ID_STOP}));
    EXPECT_EQ(OpenPopup(), nullptr) << "the menu is gone when the command arrives";

    QTimer::singleShot(0, [] {
        QMenu* open = OpenPopup();
        ASSERT_NE(open, nullptr);
        Click(open, open->actionGeometry(ActionNamed(open, "Exit")).center(), Qt::LeftButton);
    });
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, &owner);
    EXPECT_EQ(owner.commands, (std::vector<WPARAM>{ID_STOP, ID_APP_EXIT}));
}

TEST_F(PopupTest, DismissingTheRealMenuSendsNothing)
{
    CommandWindow owner;
    QTimer::singleShot(0, [] {
        QMenu* open = OpenPopup();
        ASSERT_NE(open, nullptr);
        open->close();
    });
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &owner);

    // A click on a greyed item does not choose it either.
    popup->EnableMenuItem(ID_STOP, MF_GRAYED);
    QTimer::singleShot(0, [] {
        QMenu* open = OpenPopup();
        ASSERT_NE(open, nullptr);
        Click(open, open->actionGeometry(ActionNamed(open, "Stop")).center(), Qt::LeftButton);
        QTimer::singleShot(0, open, &QMenu::close);
    });
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &owner);
    EXPECT_TRUE(owner.commands.empty());
}

}  // namespace
