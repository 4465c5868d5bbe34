// The player window as a window: first start and placement, dragging, drops,
// and the ways it closes, each of which saves the settings.

#include <QCoreApplication>
#include <QCursor>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <fstream>
#include <functional>
#include <sstream>

#include "fakes/fake_graph.h"
#include "platform/profile_store.h"
#include "window/window_fixture.h"
#include "ui/player/player_dlg.h"

namespace {

// Delivers a drop the way the toolkit does: the drag enters, then drops.
void Drop(QWidget* target, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    // The open runs once the drop has been answered.
    QCoreApplication::processEvents();
}

class PlayerWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_app.SetRegistryKey("Quorvel");
    }
    std::string SettingsPath() const { return (m_config / "Quorvel" / "vantrel-test.conf").string(); }
    void StoreSettings(const std::string& text)
    {
        std::filesystem::create_directories(m_config / "Quorvel");
        std::ofstream(SettingsPath()) << "[System]\n" << text;
        m_app.SetRegistryKey("Quorvel");   // read afresh
    }
    std::optional<int> Stored(const char* entry) const
    {
        return ProfileStore(SettingsPath()).Read("System", entry);
    }
    // Runs the player modally; `during` runs once the loop is going.
    std::intptr_t RunModal(CPlayerDlg& dlg, std::function<void()> during)
    {
        m_app.m_pMainWnd = &dlg;
        QTimer::singleShot(30, [&] { during(); });
        const std::intptr_t result = dlg.DoModal();
        m_app.m_pMainWnd = nullptr;
        return result;
    }
};

}  // namespace

TEST_F(PlayerWindowTest, FirstStartTakesTheLabelOnlySizeWithThePanelFillingIt)
{
    CPlayerDlg dlg;
    m_app.m_pMainWnd = &dlg;
    ASSERT_TRUE(dlg.Create(IDD_PLAYER));
    RECT client, outer, panel;
    dlg.GetClientRect(&client);
    dlg.GetWindowRect(&outer);
    dlg.m_wndLabel.GetClientRect(&panel);
    EXPECT_EQ(client, (RECT{0, 0, 192, 76}));
    EXPECT_EQ(outer.right - outer.left, 200);
    EXPECT_EQ(outer.bottom - outer.top, 84);
    EXPECT_EQ(panel, client);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo");
    EXPECT_EQ(dlg.m_nState, STATE_NONE);
    EXPECT_LT(dlg.m_wndLabel.m_nTick, 64) << "no medium: the splash plays";
    dlg.DestroyWindow();
    m_app.m_pMainWnd = nullptr;
}

TEST_F(PlayerWindowTest, StoredPlacementIsAppliedAsStoredEvenWithOneValueMinusOne)
{
    StoreSettings("x=-1\ny=40\ncx=300\ncy=150\nRepeat=2\nVolume=42\n");
    CPlayerDlg dlg;
    EXPECT_EQ(dlg.m_bRepeat, 2);
    EXPECT_EQ(dlg.m_nVolume, 42);
    m_app.m_pMainWnd = &dlg;
    ASSERT_TRUE(dlg.Create(IDD_PLAYER));
    RECT outer;
    dlg.GetWindowRect(&outer);
    EXPECT_EQ(outer, (RECT{-1, 40, 299, 190}));
    RECT panel;
    dlg.m_wndLabel.GetClientRect(&panel);
    EXPECT_EQ(panel, (RECT{0, 0, 292, 142})) << "the panel takes the client area";
    dlg.DestroyWindow();
    m_app.m_pMainWnd = nullptr;
    EXPECT_EQ(Stored("Repeat"), 2) << "a switch nobody flipped keeps its number";
    EXPECT_EQ(Stored("Volume"), 42);
    EXPECT_EQ(Stored("x"), -1);
    EXPECT_EQ(Stored("cx"), 300);
}

TEST_F(PlayerWindowTest, DraggingMovesTheWindowByThePointersTravel)
{
    StoreSettings("x=100\ny=120\ncx=300\ncy=150\n");
    CPlayerDlg dlg;
    m_app.m_pMainWnd = &dlg;
    ASSERT_TRUE(dlg.Create(IDD_PLAYER));
    dlg.ShowWindow(SW_SHOW);
    platform::PumpEvents(10);
    POINT grab{30, 20};
    dlg.ClientToScreen(&grab);
    QCursor::setPos(grab.x, grab.y);
    // A press forwarded by the panel carries the panel's coordinates; the anchor
    // comes from the pointer all the same.
    dlg.m_wndLabel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(dlg.m_ptDragAnchor, (POINT{30, 20}));
    EXPECT_EQ(CWnd::GetCapture(), &dlg);
    dlg.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30 + 37, 20 + 23));
    RECT outer;
    dlg.GetWindowRect(&outer);
    EXPECT_EQ(outer.left, 137);
    EXPECT_EQ(outer.top, 143);
    EXPECT_EQ(outer.right - outer.left, 300) << "a move, not a resize";
    dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(67, 43));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    dlg.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(90, 90));
    dlg.GetWindowRect(&outer);
    EXPECT_EQ(outer.left, 137) << "without the button nothing moves";
    dlg.DestroyWindow();
    m_app.m_pMainWnd = nullptr;
}

TEST_F(PlayerWindowTest, ADropPlaysItsFirstPathWhole)
{
    fakes::ScopedFakeGraph graph;
    CPlayerDlg dlg;
    m_app.m_pMainWnd = &dlg;
    ASSERT_TRUE(dlg.Create(IDD_PLAYER));
    const std::string longName = "/tmp/" + std::string(300, 'n') + " space.mpg";
    QWidget* client = platform::ClientWidgetOf(dlg.GetSafeHwnd());
    Drop(client, {QUrl::fromLocalFile(QString::fromStdString(longName)), QUrl::fromLocalFile("/tmp/second.avi"),
                  QUrl("http://example.invalid/third.mpg")});
    EXPECT_EQ(dlg.m_strPath, longName) << "the first path only, not cut at any length";
    EXPECT_EQ(dlg.m_nState, STATE_PLAYING);
    EXPECT_EQ(dlg.GetWindowText(), "Telvo Playing.");
    int renders = 0;
    for (const auto& call : graph.Log()) renders += call.rfind("RenderFile(", 0) == 0 ? 1 : 0;
    EXPECT_EQ(renders, 1);

    Drop(client, {QUrl("http://example.invalid/movie.mpg")});
    EXPECT_EQ(dlg.m_strPath, "http://example.invalid/movie.mpg") << "remote URLs pass whole";
    Drop(client, {QUrl::fromEncoded("http://example.invalid/a%20b%C3%A9.mpg?x=%2F")});
    EXPECT_EQ(dlg.m_strPath, "http://example.invalid/a%20b%C3%A9.mpg?x=%2F") << "still escaped";
    Drop(client, {QUrl::fromEncoded("file:///tmp/caf%E9%20bar.avi")});
    EXPECT_EQ(dlg.m_strPath, "/tmp/caf\xE9 bar.avi") << "a file name that is not UTF-8 keeps its bytes";
    dlg.DestroyWindow();
    m_app.m_pMainWnd = nullptr;
}

TEST_F(PlayerWindowTest, EveryWayOfClosingEndsTheDialogAndSavesTheSettings)
{
    const std::vector<std::pair<std::string, std::function<void(CPlayerDlg&)>>> ways = {
        {"close request", [](CPlayerDlg& d) { d.PostMessage(WM_CLOSE, 0, 0); }},
        {"menu Exit", [](CPlayerDlg& d) { d.SendMessage(WM_COMMAND, ID_APP_EXIT, 0); }},
        {"system Close", [](CPlayerDlg& d) { d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Escape", [](CPlayerDlg& d) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(platform::ClientWidgetOf(d.GetSafeHwnd()), &escape);
         }},
        {"panel Escape", [](CPlayerDlg& d) { d.m_wndLabel.SendMessage(WM_COMMAND, IDCANCEL, 0); }},
    };
    for (const auto& [name, close] : ways) {
        std::filesystem::remove(SettingsPath());
        m_app.SetRegistryKey("Quorvel");
        CPlayerDlg dlg;
        const std::intptr_t result = RunModal(dlg, [&] {
            dlg.SendMessage(WM_COMMAND, IDOK, 0);   // Enter does nothing
            EXPECT_TRUE(dlg.IsWindowVisible()) << name;
            dlg.m_bStretch = 1;
            close(dlg);
        });
        EXPECT_EQ(result, IDCANCEL) << name;
        EXPECT_FALSE(dlg.IsWindow()) << name;
        for (const char* entry : {"AutoRewind", "Repeat", "Zoom", "StretchWindow", "Volume", "x", "y", "cx", "cy"}) {
            EXPECT_TRUE(Stored(entry).has_value()) << name << ": " << entry;
        }
        EXPECT_EQ(Stored("StretchWindow"), 1) << name;
        EXPECT_EQ(Stored("cx"), 200) << name;
        EXPECT_EQ(Stored("cy"), 84) << name;
    }
}
