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

#include <algorithm>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

#include "fakes/fake_graph.h"
#include "platform/system/profile_store.h"
#include "support/window_fixture.h"
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
        platform::PumpEvents(0);  // the last window's close is saved once back in the event loop
        std::filesystem::create_directories(m_config / "Quorvel");
        std::ofstream(SettingsPath()) << "[System]\n" << text;
        m_app.SetRegistryKey("Quorvel");  // read afresh
    }
    std::optional<int> Stored(const char* entry) const { return ProfileStore(SettingsPath()).Read("System", entry); }
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

TEST_F(PlayerWindowTest, AStoredSizeWithNoPixelsGivesTheSmallestWindowAndThatIsSaved)
{
    // Zero, negative and missing sides; the place is kept as stored.
    for (const char* stored : {"x=30\ny=40\ncx=0\ncy=0\n", "x=30\ny=40\ncx=-20\ncy=-5\n", "x=30\ny=40\ncy=100\n"}) {
        SCOPED_TRACE(stored);
        StoreSettings(stored);
        CPlayerDlg dlg;
        m_app.m_pMainWnd = &dlg;
        ASSERT_TRUE(dlg.Create(IDD_PLAYER));
        dlg.ShowWindow(SW_SHOW);
        platform::PumpEvents(10);
        RECT outer;
        dlg.GetWindowRect(&outer);
        EXPECT_EQ(outer.left, 30);
        EXPECT_EQ(outer.top, 40);
        EXPECT_GE(outer.right - outer.left, 64);
        EXPECT_GE(outer.bottom - outer.top, 48);
        EXPECT_TRUE(dlg.IsWindowVisible());
        dlg.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        EXPECT_EQ(Stored("cx"), outer.right - outer.left) << "the size it really had";
        EXPECT_EQ(Stored("cy"), outer.bottom - outer.top);
    }
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
    for (const auto& call : graph.Log())
        renders += call.rfind("RenderFile(", 0) == 0 ? 1 : 0;
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
        {"close request",        [](CPlayerDlg& d) { d.PostMessage(WM_CLOSE, 0, 0); }                               },
        {"window manager close", [](CPlayerDlg& d) { platform::ClientWidgetOf(d.GetSafeHwnd())->window()->close(); }},
        {"menu Exit",            [](CPlayerDlg& d) { d.SendMessage(WM_COMMAND, ID_APP_EXIT, 0); }                   },
        {"system Close",         [](CPlayerDlg& d) { d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }                   },
        {"Escape",
         [](CPlayerDlg& d) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(platform::ClientWidgetOf(d.GetSafeHwnd()), &escape);
         }                                                                                                          },
        {"panel Escape",         [](CPlayerDlg& d) { d.m_wndLabel.SendMessage(WM_COMMAND, IDCANCEL, 0); }           },
    };
    for (const auto& [name, close] : ways) {
        std::filesystem::remove(SettingsPath());
        m_app.SetRegistryKey("Quorvel");
        CPlayerDlg dlg;
        const std::intptr_t result = RunModal(dlg, [&] {
            dlg.SendMessage(WM_COMMAND, IDOK, 0);  // Enter does nothing
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

TEST_F(PlayerWindowTest, ExtremePlacementsAndZoomsStayDefinedWithinTheSizeCapAndKeepTheWindowWorking)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    RECT desktop;
    CWnd::GetDesktopWindow()->GetClientRect(&desktop);
    struct Case {
        const char* name;
        int x, y, cx, cy;
    };
    const Case cases[] = {
        {"near the largest position",     kMax - 47, kMax - 47, 300,  150 },
        {"the largest position and size", kMax,      kMax,      kMax, kMax},
        {"the smallest position",         kMin,      kMin + 1,  300,  150 },
        {"the largest size",              0,         0,         kMax, kMax},
        {"no size",                       50,        60,        0,    0   },
        {"negative sizes",                50,        60,        kMin, -5  },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreSettings("x=" + std::to_string(c.x) + "\ny=" + std::to_string(c.y) + "\ncx=" + std::to_string(c.cx) +
                      "\ncy=" + std::to_string(c.cy) + "\n");
        RECT outer{};
        {
            CPlayerDlg dlg;
            m_app.m_pMainWnd = &dlg;
            ASSERT_TRUE(dlg.Create(IDD_PLAYER));
            dlg.ShowWindow(SW_SHOW);
            platform::PumpEvents(10);
            RECT client, panel;
            dlg.GetWindowRect(&outer);
            dlg.GetClientRect(&client);
            dlg.m_wndLabel.GetClientRect(&panel);
            const long long width = static_cast<long long>(outer.right) - outer.left;
            const long long height = static_cast<long long>(outer.bottom) - outer.top;
            EXPECT_GE(width, 0);
            EXPECT_GE(height, 0);
            EXPECT_LE(width, kMaxWindowSide);
            EXPECT_LE(height, kMaxWindowSide);
            if (c.cx > 0 && c.cx <= desktop.right) {
                EXPECT_EQ(width, c.cx) << "an ordinary size is kept";
            }
            // However far out it was stored, enough of it is on the screen to take hold of.
            const long long shownAcross =
                std::min<long long>(outer.right, desktop.right) - std::max<long long>(outer.left, 0);
            const long long shownDown =
                std::min<long long>(outer.bottom, desktop.bottom) - std::max<long long>(outer.top, 0);
            EXPECT_GE(shownAcross, 64);
            EXPECT_GE(shownDown, 48);
            EXPECT_EQ(panel, client) << "the panel is laid out in the window";

            // Moves, sizes and repaints with any numbers stay defined.
            dlg.SetWindowPos(nullptr, kMax, kMin, kMax, kMin, SWP_NOZORDER);
            dlg.MoveWindow(RECT{kMin, kMin, kMax, kMax});
            RECT moved;
            dlg.GetWindowRect(&moved);
            EXPECT_LE(static_cast<long long>(moved.right) - moved.left, kMaxWindowSide);
            POINT far{kMax, kMin};
            dlg.ScreenToClient(&far);
            dlg.ClientToScreen(&far);
            const RECT huge{kMin, kMin, kMax, kMax};
            dlg.RedrawWindow(&huge, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            dlg.m_wndLabel.SetWindowPos(nullptr, kMax, kMax, kMax, kMax, SWP_NOZORDER);
            dlg.m_wndLabel.GetClientRect(&panel);
            EXPECT_LE(panel.right, kMaxWindowSide);
            EXPECT_LE(panel.bottom, kMaxWindowSide);

            // Back where the settings put it, then closed, which saves the placement.
            dlg.SetWindowPos(nullptr, outer.left, outer.top, static_cast<int>(width), static_cast<int>(height),
                             SWP_NOZORDER);
            dlg.DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        // What was saved comes back as the same rectangle.
        ASSERT_TRUE(Stored("x").has_value());
        EXPECT_EQ(Stored("x"), outer.left);
        EXPECT_EQ(Stored("cx"), outer.right - outer.left);
        m_app.SetRegistryKey("Quorvel");
        CPlayerDlg again;
        m_app.m_pMainWnd = &again;
        ASSERT_TRUE(again.Create(IDD_PLAYER));
        RECT restored;
        again.GetWindowRect(&restored);
        EXPECT_EQ(restored, outer);
        again.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
    }

    // A 200% zoom of a large picture goes through the same cap.
    fakes::ScopedFakeGraph graph;
    graph.Script().sourceWidth = 7000;
    graph.Script().sourceHeight = 5000;
    StoreSettings("x=10\ny=20\ncx=300\ncy=150\n");
    CPlayerDlg dlg;
    m_app.m_pMainWnd = &dlg;
    ASSERT_TRUE(dlg.Create(IDD_PLAYER));
    dlg.OpenAndPlay("/tmp/large.mpg");
    ASSERT_EQ(dlg.m_rcSource.width, 7000);
    dlg.OnZoom200();
    RECT outer, client;
    dlg.GetWindowRect(&outer);
    dlg.GetClientRect(&client);
    EXPECT_EQ(outer, (RECT{10, 20, 10 + kMaxWindowSide, 20 + kMaxWindowSide}));
    EXPECT_LE(dlg.m_rcVideo.width, client.right) << "the picture is fitted to the capped window";
    EXPECT_LE(dlg.m_rcVideo.height, client.bottom);
    dlg.DestroyWindow();
    m_app.m_pMainWnd = nullptr;
}
