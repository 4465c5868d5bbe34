// The window base: what the program's handlers rely on of sizes, timers,
// repaints, posted messages and teardown.

#include <QWidget>

#include <limits>
#include <thread>

#include "platform/framework/paint_dc.h"
#include "support/window_fixture.h"

namespace {

constexpr UINT WM_TEST = WM_USER + 77;

std::vector<UINT> Only(const std::vector<UINT>& ids, std::initializer_list<UINT> keep)
{
    std::vector<UINT> out;
    for (UINT id : ids) {
        if (std::find(keep.begin(), keep.end(), id) != keep.end())
            out.push_back(id);
    }
    return out;
}

// A child window that paints nothing and records its messages.
class Child : public RecordingWnd {};

}  // namespace

TEST_F(WindowTest, SizingFrameMakesOuterRectLargerByTheFrameAndResizeReportsSizeAtOnce)
{
    RecordingWnd wnd;
    WindowStyle style;
    style.sizingFrame = true;
    style.frameWidth = 4;
    ASSERT_TRUE(wnd.CreateEx(style, RECT{20, 30, 220, 130}, nullptr));
    RECT outer, client;
    wnd.GetWindowRect(&outer);
    wnd.GetClientRect(&client);
    EXPECT_EQ(outer.right - outer.left - client.right, 8);
    EXPECT_EQ(outer.bottom - outer.top - client.bottom, 8);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);

    wnd.messages.clear();
    wnd.SetWindowPos(nullptr, 40, 50, 308, 208, SWP_NOZORDER);
    ASSERT_EQ(wnd.Count(WM_SIZE), 1) << "the size change is reported before SetWindowPos returns";
    const LPARAM size = wnd.messages.back().lParam;
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(size)), 300);
    EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(size)), 200);
    wnd.GetWindowRect(&outer);
    EXPECT_EQ(outer, (RECT{40, 50, 348, 258}));

    wnd.messages.clear();
    wnd.SetWindowPos(nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(wnd.Count(WM_SIZE), 0) << "a move alone is no size change";
    wnd.GetWindowRect(&outer);
    EXPECT_EQ(outer.left, 60);
    EXPECT_EQ(outer.right - outer.left, 308);
}

TEST_F(WindowTest, PlacementIsTheRestoredRectangleWhetherMaximisedOrMinimised)
{
    RecordingWnd wnd;
    WindowStyle style;
    style.sizingFrame = true;
    ASSERT_TRUE(wnd.CreateEx(style, RECT{20, 30, 220, 130}, nullptr));
    wnd.ShowWindow(SW_SHOW);
    wnd.SetWindowPos(nullptr, 40, 50, 300, 200, SWP_NOZORDER);
    const RECT restored{40, 50, 340, 250};
    for (const int state : {SW_SHOWMAXIMIZED, SW_MINIMIZE}) {
        wnd.ShowWindow(state);
        platform::PumpEvents(50);
        WINDOWPLACEMENT placement{};
        ASSERT_TRUE(wnd.GetWindowPlacement(&placement));
        EXPECT_EQ(placement.rcNormalPosition, restored) << "shown as " << state;
        wnd.ShowWindow(SW_RESTORE);
        platform::PumpEvents(50);
    }
    RECT outer;
    wnd.GetWindowRect(&outer);
    EXPECT_EQ(outer, restored);
}

TEST_F(WindowTest, PointFontsTakeTheirHeightFromTheVerticalDpiTruncated)
{
    // What a paint handler sees of the screen and of the panel's three fonts.
    struct FontProbe : RecordingWnd {
        int dpiX = 0;
        int dpiY = 0;
        std::vector<int> heights;
        std::vector<int> cellHeights;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message != WM_PAINT)
                return RecordingWnd::WindowProc(message, wParam, lParam);
            CPaintDC dc(this);
            dpiX = dc.GetDeviceCaps(LOGPIXELSX);
            dpiY = dc.GetDeviceCaps(LOGPIXELSY);
            for (const int tenths : {160, 120, 90}) {
                CFont font;
                font.CreatePointFont(tenths, "明朝", &dc);
                heights.push_back(font.GetHeightPixels());
                CFont* old = dc.SelectObject(&font);
                cellHeights.push_back(dc.GetTextExtent("Playing").cy);
                dc.SelectObject(old);
            }
            return 0;
        }
    };
    FontProbe wnd;
    ASSERT_TRUE(MakeTopLevel(wnd, 60, 40));
    wnd.RedrawWindow();
    ASSERT_EQ(wnd.heights.size(), 3u);
    EXPECT_EQ(wnd.dpiY, ScreenLogPixelsY());
    EXPECT_EQ(wnd.dpiX, ScreenLogPixelsX());
    EXPECT_EQ(wnd.heights, (std::vector<int>{wnd.dpiY * 160 / 720, wnd.dpiY * 120 / 720, wnd.dpiY * 90 / 720}));
    if (wnd.dpiY == 96) {
        EXPECT_EQ(wnd.heights, (std::vector<int>{21, 16, 12})) << "16 points is 21.33 pixels, cut to 21";
    }
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_GE(wnd.cellHeights[i], wnd.heights[i]) << "the text cell holds a character of the font's height";
        EXPECT_LE(wnd.cellHeights[i], wnd.heights[i] * 3 / 2) << "and the font is the one asked for";
    }

    CFont screenFont;
    screenFont.CreatePointFont(110, "明朝");
    EXPECT_EQ(screenFont.GetHeightPixels(), ScreenLogPixelsY() * 110 / 720) << "no DC: the screen's DPI";
    if (ScreenLogPixelsY() == 96) {
        EXPECT_EQ(screenFont.GetHeightPixels(), 14) << "14.67 pixels is cut, not rounded";
    }
}

TEST_F(WindowTest, TimersTickByIdRestartAndStop)
{
    RecordingWnd wnd;
    ASSERT_TRUE(MakeTopLevel(wnd, 50, 50));
    EXPECT_FALSE(wnd.KillTimer(9)) << "killing a timer that is not running is harmless";
    wnd.SetTimer(9, 10);
    wnd.SetTimer(9, 10);  // a restart, not a second timer
    platform::PumpEvents(120);
    int ticks = 0;
    for (const auto& m : wnd.messages) {
        if (m.message == WM_TIMER) {
            EXPECT_EQ(m.wParam, 9u);
            ++ticks;
        }
    }
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 13) << "one timer, not two";
    EXPECT_TRUE(wnd.KillTimer(9));
    wnd.messages.clear();
    platform::PumpEvents(60);
    EXPECT_EQ(wnd.Count(WM_TIMER), 0);
}

TEST_F(WindowTest, RedrawWithEraseErasesThenPaintsBeforeReturning)
{
    RecordingWnd wnd;
    ASSERT_TRUE(MakeTopLevel(wnd, 60, 40));
    wnd.ShowWindow(SW_SHOW);
    platform::PumpEvents(20);

    wnd.messages.clear();
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(Only(wnd.Ids(), {WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_ERASEBKGND, WM_PAINT}));

    wnd.messages.clear();
    RECT strip{0, 2, 60, 22};
    wnd.RedrawWindow(&strip, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
    EXPECT_EQ(Only(wnd.Ids(), {WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_PAINT}));

    // A rectangle reaching past every edge by any amount repaints the whole window.
    wnd.messages.clear();
    const platform::PaintCounters before = platform::PaintCountersOf(wnd.GetSafeHwnd());
    const RECT beyond{std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::min(),
                      std::numeric_limits<LONG>::max(), std::numeric_limits<LONG>::max()};
    wnd.RedrawWindow(&beyond, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(Only(wnd.Ids(), {WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_ERASEBKGND, WM_PAINT}));
    EXPECT_EQ(platform::PaintCountersOf(wnd.GetSafeHwnd()).pixels - before.pixels, 60u * 40u);

    wnd.messages.clear();
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    EXPECT_EQ(wnd.Count(WM_PAINT), 0) << "without RDW_UPDATENOW the paint waits for the event loop";
    platform::PumpEvents(30);
    EXPECT_EQ(wnd.Count(WM_PAINT), 1);
}

TEST_F(WindowTest, PostedMessagesArriveOnTheWindowThreadAndNotAfterDestruction)
{
    auto wnd = std::make_unique<RecordingWnd>();
    ASSERT_TRUE(MakeTopLevel(*wnd, 20, 20));
    const std::thread::id uiThread = std::this_thread::get_id();
    std::thread poster([&] { EXPECT_TRUE(wnd->PostMessage(WM_TEST, 5, 6)); });
    poster.join();
    EXPECT_EQ(wnd->Count(WM_TEST), 0) << "posted, not sent";
    platform::PumpEvents(20);
    ASSERT_EQ(wnd->Count(WM_TEST), 1);
    EXPECT_EQ(std::this_thread::get_id(), uiThread);

    wnd->PostMessage(WM_TEST, 1, 1);
    wnd->DestroyWindow();
    auto other = std::make_unique<RecordingWnd>();  // may reuse the freed handle's address
    ASSERT_TRUE(MakeTopLevel(*other, 20, 20));
    platform::PumpEvents(20);
    EXPECT_EQ(other->Count(WM_TEST), 0) << "a message for a window that is gone is dropped";
}

TEST_F(WindowTest, DestroyNotifiesTheParentBeforeItsChildrenAndChildContextMenuGoesUp)
{
    static std::vector<std::string> order;
    order.clear();
    struct Named : RecordingWnd {
        std::string name;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_DESTROY)
                order.push_back(name);
            return RecordingWnd::WindowProc(message, wParam, lParam);
        }
    };
    Named parent;
    parent.name = "parent";
    Named child;
    child.name = "child";
    ASSERT_TRUE(MakeTopLevel(parent, 100, 100));
    WindowStyle childStyle;
    childStyle.child = true;
    ASSERT_TRUE(child.CreateEx(childStyle, RECT{0, 0, 50, 50}, &parent));
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);

    child.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(child.GetSafeHwnd()), MAKELPARAM(3, 4));
    ASSERT_EQ(parent.Count(WM_CONTEXTMENU), 1) << "a child passes the menu request to its parent";
    EXPECT_EQ(parent.messages.back().lParam, MAKELPARAM(3, 4));

    parent.DestroyWindow();
    EXPECT_EQ(order, (std::vector<std::string>{"parent", "child"}));
    EXPECT_FALSE(child.IsWindow());
}

TEST_F(WindowTest, ApplicationNameAndCommandLineFollowTheExecutableAndArguments)
{
    EXPECT_EQ(platform::AppNameFromExecutable("/usr/bin/vantrel"), "vantrel");
    EXPECT_EQ(platform::AppNameFromExecutable("./build/My.Player.bin"), "My.Player");
    EXPECT_EQ(platform::AppNameFromExecutable("vantrel"), "vantrel");
    const char* argv[] = {"vantrel", "/tmp/a", "b.mpg", ""};
    EXPECT_EQ(platform::CommandLineFromArgs(3, argv), "/tmp/a b.mpg");
    EXPECT_EQ(platform::CommandLineFromArgs(1, argv), "");
    EXPECT_EQ(platform::CommandLineFromArgs(4, argv), "/tmp/a b.mpg ") << "an empty argument keeps its blank";
}

TEST_F(WindowTest, CommandLineTakesALaunchersFileUriAsItsLocalPath)
{
    const auto line = [](const char* arg) {
        const char* argv[] = {"vantrel", arg};
        return platform::CommandLineFromArgs(2, argv);
    };
    EXPECT_EQ(line("file:///tmp/name%20with%20space.avi"), "/tmp/name with space.avi");
    EXPECT_EQ(line("file://localhost/tmp/caf%E9%25.avi"), "/tmp/caf\xe9%.avi") << "a name not in UTF-8 keeps its bytes";
    EXPECT_EQ(line("FILE:///tmp/a.avi"), "/tmp/a.avi");
    // Nothing on this machine, or not a path that can be opened as written: the open says so.
    for (const char* kept : {"file://server/share/a.avi", "file:///tmp/a%00b.avi", "file:///tmp/a%2fb.avi", "file://",
                             "http://example.com/a%20b.mp4", "file:a%20b.avi"})
        EXPECT_EQ(line(kept), kept);

    const char* several[] = {"vantrel", "file:///tmp/a%20b.avi", "https://example.com/c.mp4"};
    EXPECT_EQ(platform::CommandLineFromArgs(3, several), "/tmp/a b.avi") << "one medium at a time: the first";
}

TEST_F(WindowTest, PixelsUnderAChildArePaintedOnlyWhenTheChildUncoversThem)
{
    struct ColouredWnd : RecordingWnd {
        COLORREF colour = RGB(255, 0, 0);
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message != WM_ERASEBKGND)
                return RecordingWnd::WindowProc(message, wParam, lParam);
            RECT rc;
            GetClientRect(&rc);
            CBrush brush(colour);
            reinterpret_cast<CDC*>(wParam)->FillRect(&rc, &brush);
            return TRUE;
        }
    };
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    ColouredWnd parent;
    ASSERT_TRUE(MakeTopLevel(parent, 200, 100));
    Child child;
    WindowStyle childStyle;
    childStyle.child = true;
    ASSERT_TRUE(child.CreateEx(childStyle, RECT{100, 0, 200, 100}, &parent));
    child.ShowWindow(SW_SHOW);
    parent.ShowWindow(SW_SHOW);
    platform::PumpEvents(30);

    const platform::PaintCounters before = platform::PaintCountersOf(parent.GetSafeHwnd());
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(platform::PaintCountersOf(parent.GetSafeHwnd()).pixels - before.pixels, 100u * 100u)
        << "only the half the child leaves free is painted";
    EXPECT_EQ(Canvas(parent).pixel(10, 50), red);
    EXPECT_NE(Canvas(parent).pixel(150, 50), red);

    // Uncovered, the parent's pixels there are painted before they are shown.
    child.ShowWindow(SW_HIDE);
    platform::PumpEvents(30);
    EXPECT_EQ(Canvas(parent).pixel(150, 50), red);
    EXPECT_EQ(platform::ClientWidgetOf(parent.GetSafeHwnd())->grab().toImage().pixel(150, 50), red);

    // So are the pixels a child leaves when it moves, with what the parent paints now.
    child.ShowWindow(SW_SHOW);
    parent.colour = RGB(0, 0, 255);
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(Canvas(parent).pixel(10, 50), blue);
    EXPECT_EQ(Canvas(parent).pixel(150, 50), red) << "under the child: left as it was";
    child.SetWindowPos(nullptr, 0, 0, 100, 100, SWP_NOZORDER);
    platform::PumpEvents(30);
    EXPECT_EQ(Canvas(parent).pixel(150, 50), blue);
}
