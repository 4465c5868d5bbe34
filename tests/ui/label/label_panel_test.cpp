// The label panel painted offscreen: the splash, the info page, the error line,
// the progress bar, the strip refresh and the input it passes to its parent.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/framework/paint_dc.h"
#include "res/resource.h"
#include "support/window_fixture.h"
#include "ui/label/label_panel.h"

namespace {

constexpr QRgb kGreen = 0x00FF00;
constexpr QRgb kDarkGreen = 0x008000;
constexpr QRgb kRed = 0xFF0000;

// Counts what the panel is asked to do.
class CountingPanel : public CLabelPanel {
public:
    int paints = 0;
    int erases = 0;
    int timers = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT)
            ++paints;
        if (message == WM_ERASEBKGND)
            ++erases;
        if (message == WM_TIMER)
            ++timers;
        return CLabelPanel::WindowProc(message, wParam, lParam);
    }
};

class LabelPanelTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(MakeTopLevel(parent, 400, 120));
        ASSERT_TRUE(panel.Create(IDD_LABEL_PANEL, &parent));
        panel.SetWindowPos(nullptr, 0, 0, 300, 80, SWP_NOMOVE | SWP_NOZORDER);
        parent.ShowWindow(SW_SHOW);
        panel.ShowWindow(SW_SHOW);
        platform::PumpEvents(10);
    }
    void ShowInfo(const std::string& status, double position, double duration)
    {
        panel.m_nTick = 64;
        panel.m_strStatus = status;
        panel.m_dPosition = position;
        panel.m_dDuration = duration;
        panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    QImage Pixels() { return Canvas(panel); }

    RecordingWnd parent;
    CountingPanel panel;
};

}  // namespace

TEST_F(LabelPanelTest, SplashCentresTitleAndCreditOnTheirOwnWidthsInTheRampColour)
{
    panel.m_nTick = 20;  // on the plateau: pure green
    panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const QImage image = Pixels();
    // Title cell starts 20 px above the middle (y = 20), credit 2 px below it (y = 42).
    auto span = [&](int top, int bottom) {
        int first = image.width(), last = -1;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if ((image.pixel(x, y) & 0xFFFFFF) == kGreen) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        return std::pair{first, last};
    };
    const auto [titleFirst, titleLast] = span(20, 41);
    const auto [creditFirst, creditLast] = span(42, 60);
    ASSERT_LT(titleFirst, titleLast) << "the title is drawn";
    ASSERT_LT(creditFirst, creditLast) << "the credit line is drawn";
    EXPECT_NEAR((titleFirst + titleLast) / 2.0, 150.0, 4.0);
    EXPECT_NEAR((creditFirst + creditLast) / 2.0, 150.0, 4.0);
    EXPECT_EQ(CountNotBlack(image, 0, 0, 300, 18), 0) << "nothing above the title";

    panel.m_nTick = 63;  // the last frame is black on black
    panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(CountNotBlack(Pixels(), 0, 0, 300, 80), 0);
}

TEST_F(LabelPanelTest, SixtyFourthTickStopsTheSplashWithoutPainting)
{
    panel.m_nTick = 61;
    panel.paints = 0;
    panel.SendMessage(WM_TIMER, TIMER_SPLASH, 0);
    EXPECT_EQ(panel.m_nTick, 62);
    EXPECT_EQ(panel.paints, 1) << "each splash tick paints its frame at once";
    panel.SendMessage(WM_TIMER, TIMER_SPLASH, 0);
    panel.SendMessage(WM_TIMER, TIMER_SPLASH, 0);
    EXPECT_EQ(panel.m_nTick, 64);
    EXPECT_EQ(panel.paints, 2) << "the 64th tick paints nothing";
    panel.timers = 0;
    platform::PumpEvents(150);
    EXPECT_EQ(panel.timers, 0) << "and the splash timer is gone";
}

TEST_F(LabelPanelTest, SplashTimerRunsFromCreation)
{
    panel.timers = 0;
    platform::PumpEvents(200);
    EXPECT_GE(panel.timers, 2);
    EXPECT_GE(panel.m_nTick, 2);
    EXPECT_LT(panel.m_nTick, 64);
}

TEST_F(LabelPanelTest, InfoPageShowsStatusCellInfoLinesAndTwoColourBar)
{
    panel.m_strName = "clip.mpg";
    panel.m_strVideoSize = "Video size: 320 x 240";
    panel.m_strTime = "Time: 2.000000(sec)";
    panel.m_strSize = "Size: 1KB (1,024 byte)";
    panel.m_strDate = "Date: 2026/12/08(Tue) 08:00:00";
    panel.m_strError = "Error: Cannot play back the file.";
    ShowInfo("Playing: 5/10  Volume: 5/10    ", 5.0, 10.0);
    const QImage image = Pixels();
    EXPECT_GT(CountColour(image, kGreen, 5, 12, 200, 22), 20) << "status line";
    for (int top : {22, 32, 42, 52, 62}) {
        EXPECT_GT(CountColour(image, kGreen, 5, top + 2, 250, top + 10), 5) << "info line at " << top;
    }
    EXPECT_EQ(CountColour(image, kRed, 0, 0, 300, 80), 0) << "no error line beside a status line";
    // Split at 5 + trunc(0.5 * 290) = 150; the bar spans x 5..294, rows 3..10.
    EXPECT_EQ(image.pixel(5, 3) & 0xFFFFFF, kGreen);
    EXPECT_EQ(image.pixel(149, 10) & 0xFFFFFF, kGreen);
    EXPECT_EQ(image.pixel(150, 3) & 0xFFFFFF, kDarkGreen);
    EXPECT_EQ(image.pixel(294, 10) & 0xFFFFFF, kDarkGreen);
    EXPECT_EQ(image.pixel(4, 5) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(295, 5) & 0xFFFFFF, 0u) << "right edge left out";
    EXPECT_EQ(image.pixel(100, 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(100, 11) & 0xFFFFFF, 0u) << "bottom edge left out";
}

TEST_F(LabelPanelTest, BarAtZeroDurationBeyondTheEndAndOnANarrowPanel)
{
    ShowInfo("Stopped: 0/0  Volume: 5/10    ", 0.0, 0.0);
    QImage image = Pixels();
    EXPECT_EQ(CountColour(image, kDarkGreen, 5, 3, 295, 11), 290 * 8) << "zero duration: all rest";
    EXPECT_EQ(CountColour(image, kGreen, 0, 3, 300, 11), 0);

    ShowInfo("Playing: 20/10  Volume: 5/10    ", 20.0, 10.0);
    image = Pixels();
    EXPECT_EQ(CountColour(image, kGreen, 5, 3, 300, 11), 295 * 8) << "beyond the end: played part to the edge";
    EXPECT_EQ(CountColour(image, kDarkGreen, 0, 3, 300, 11), 0);

    panel.SetWindowPos(nullptr, 0, 0, 10, 80, SWP_NOMOVE | SWP_NOZORDER);
    ShowInfo("Playing: 5/10  Volume: 5/10    ", 5.0, 10.0);
    image = Pixels();
    EXPECT_EQ(CountColour(image, kGreen, 0, 3, 10, 11) + CountColour(image, kDarkGreen, 0, 3, 10, 11), 0)
        << "a 10 px panel has no bar";
}

TEST_F(LabelPanelTest, ErrorLineAloneInRedWhenThereIsNoStatus)
{
    panel.m_strName = "old.mpg";
    panel.m_strError = "Error: Cannot play back the file.";
    ShowInfo("", 1.0, 2.0);
    const QImage image = Pixels();
    EXPECT_GT(CountColour(image, kRed, 5, 12, 250, 24), 20);
    EXPECT_EQ(CountColour(image, kGreen, 0, 0, 300, 80), 0) << "no bar and no info lines";
    EXPECT_EQ(CountColour(image, kDarkGreen, 0, 0, 300, 80), 0);

    panel.m_strError.clear();
    ShowInfo("", 0.0, 0.0);
    EXPECT_EQ(CountNotBlack(Pixels(), 0, 0, 300, 80), 0) << "no status, no error: a black panel";
}

TEST_F(LabelPanelTest, StripRefreshWithoutEraseKeepsOldPixelsAndWithEraseClearsOnlyTheStrip)
{
    panel.m_strName = "a-long-file-name-that-reaches-far-to-the-right.mpg";
    ShowInfo("Playing: 1234567/1234567  Volume: 10/10    ", 1.0, 2.0);
    const int oldTail = CountColour(Pixels(), kGreen, 180, 12, 300, 22);
    ASSERT_GT(oldTail, 0) << "the long status line reaches past x = 180";
    const int nameBefore = CountColour(Pixels(), kGreen, 5, 24, 300, 32);

    panel.erases = 0;
    panel.m_strStatus = "P: 1/2    ";
    panel.RefreshStatusStrip(FALSE);
    EXPECT_EQ(panel.erases, 0) << "no erase on the tick path";
    EXPECT_EQ(CountColour(Pixels(), kGreen, 180, 12, 300, 22), oldTail) << "pixels outside the new cell stay";

    panel.RefreshStatusStrip(TRUE);
    EXPECT_EQ(panel.erases, 1);
    EXPECT_EQ(CountColour(Pixels(), kGreen, 180, 12, 300, 22), 0) << "the strip is erased";
    EXPECT_EQ(CountColour(Pixels(), kGreen, 5, 24, 300, 32), nameBefore) << "and nothing below it";
}

TEST_F(LabelPanelTest, ShorterStatusOnTheTickPathLeavesNoOldGlyphsInsideItsCell)
{
    panel.m_strName = "clip.mpg";
    const std::string shorter = "Paused: 1/2  Volume: 5/10    ";
    ShowInfo("Playing: 1234567/1234567  Volume: 10/10    ", 1.0, 2.0);
    const QImage longLine = Pixels();
    panel.m_strStatus = shorter;
    panel.RefreshStatusStrip(FALSE);
    const QImage refreshed = Pixels();
    ShowInfo(shorter, 1.0, 2.0);
    const QImage fresh = Pixels();

    // The cell of the shorter line: from x = 5, as wide as its text in the panel's font.
    CPaintDC measure(nullptr);
    CFont font;
    font.CreatePointFont(90, "明朝");
    measure.SelectObject(&font);
    const int right = std::min(5 + measure.GetTextExtent(shorter).cx, fresh.width());
    ASSERT_GT(right, 100);
    int oldInk = 0, survivors = 0;
    for (int y = 12; y < 22; ++y) {
        for (int x = 5; x < right; ++x) {
            oldInk += longLine.pixel(x, y) != fresh.pixel(x, y) ? 1 : 0;
            survivors += refreshed.pixel(x, y) != fresh.pixel(x, y) ? 1 : 0;
        }
    }
    ASSERT_GT(oldInk, 20) << "the longer line had ink where the shorter one has none";
    EXPECT_EQ(survivors, 0) << "the cell is painted opaque black under the new text";
}

TEST_F(LabelPanelTest, TickPathRepaintsEveryRowOfTheStatusCellDescendersIncluded)
{
    panel.m_strName = "clip.mpg";
    // Descenders of "Playing" and "y" ink the cell's last rows, below row 21.
    const std::string before = "Playing: 1/2  Volume: 5/10    ";
    const std::string after = "Paused: 1/2  Volume: 5/10    ";
    ShowInfo(before, 1.0, 2.0);
    const QImage old = Pixels();
    panel.m_strStatus = after;
    panel.RefreshStatusStrip(FALSE);
    const QImage refreshed = Pixels();
    ShowInfo(after, 1.0, 2.0);
    const QImage fresh = Pixels();

    CPaintDC measure(nullptr);
    CFont font;
    font.CreatePointFont(90, "明朝");
    measure.SelectObject(&font);
    const SIZE cell = measure.GetTextExtent(after);
    int oldInkBelow = 0, survivors = 0;
    for (int y = 12; y < 12 + cell.cy; ++y) {
        for (int x = 5; x < 5 + cell.cx; ++x) {
            const bool differs = refreshed.pixel(x, y) != fresh.pixel(x, y);
            survivors += differs ? 1 : 0;
            oldInkBelow += (y >= 22 && old.pixel(x, y) != fresh.pixel(x, y)) ? 1 : 0;
        }
    }
    ASSERT_GT(oldInkBelow, 0) << "the earlier line inked rows below 21";
    EXPECT_EQ(survivors, 0) << "no pixel of the earlier line survives in the cell";
}

TEST_F(LabelPanelTest, StripRefreshDuringTheSplashEndsIt)
{
    panel.m_nTick = 10;
    panel.m_strStatus = "Playing: 0/2  Volume: 5/10    ";
    panel.RefreshStatusStrip(TRUE);
    EXPECT_EQ(panel.m_nTick, 64);
    panel.timers = 0;
    platform::PumpEvents(120);
    EXPECT_EQ(panel.timers, 0);
}

TEST_F(LabelPanelTest, ClicksMovesAndKeysReachTheParentUnchanged)
{
    parent.messages.clear();
    panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
    panel.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(11, 13));
    panel.SendMessage(WM_KEYDOWN, VK_PRIOR, 0x01490001);
    ASSERT_EQ(parent.messages.size(), 3u);
    EXPECT_EQ(parent.messages[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(parent.messages[0].wParam, MK_LBUTTON);
    EXPECT_EQ(parent.messages[0].lParam, MAKELPARAM(7, 9));
    EXPECT_EQ(parent.messages[1].wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(parent.messages[1].lParam, MAKELPARAM(11, 13));
    EXPECT_EQ(parent.messages[2].message, WM_KEYDOWN);
    EXPECT_EQ(parent.messages[2].wParam, VK_PRIOR);
    EXPECT_EQ(parent.messages[2].lParam, 0x01490001);
}

TEST_F(LabelPanelTest, RealInputOnThePanelIsForwardedAndRightClickAsksTheParentForTheMenu)
{
    QWidget* widget = platform::ClientWidgetOf(panel.GetSafeHwnd());
    ASSERT_NE(widget, nullptr);
    parent.messages.clear();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 14), widget->mapToGlobal(QPointF(12, 14)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &pageDown);
    QMouseEvent rightUp(QEvent::MouseButtonRelease, QPointF(20, 21), widget->mapToGlobal(QPointF(20, 21)),
                        Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &rightUp);
    ASSERT_EQ(parent.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(parent.messages[0].lParam, MAKELPARAM(12, 14)) << "in the panel's own coordinates";
    ASSERT_EQ(parent.Count(WM_KEYDOWN), 1);
    EXPECT_EQ(parent.messages[1].wParam, VK_NEXT);
    ASSERT_EQ(parent.Count(WM_CONTEXTMENU), 1);
    const QPoint global = widget->mapToGlobal(QPoint(20, 21));
    EXPECT_EQ(parent.messages.back().lParam, MAKELPARAM(global.x(), global.y())) << "at the pointer, on screen";
}

TEST_F(LabelPanelTest, EnterDoesNothingAndEscapeClosesTheParentAndHidesThePanel)
{
    QWidget* widget = platform::ClientWidgetOf(panel.GetSafeHwnd());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    platform::PumpEvents(10);
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(parent.Count(WM_CLOSE), 0);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &escape);
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(parent.Count(WM_CLOSE), 0) << "posted, not sent";
    platform::PumpEvents(20);
    EXPECT_EQ(parent.Count(WM_CLOSE), 1);
}

TEST_F(LabelPanelTest, AnyTextPaintsWithoutHarm)
{
    const std::string invalidUtf8 = "\xff\xfe\x80 broken \xc3";
    panel.m_strName = invalidUtf8;
    panel.m_strVideoSize = std::string(10000, 'W');
    panel.m_strTime = "再生時間: 長い";
    panel.m_strSize.clear();
    panel.m_strDate = std::string("\0x", 2);
    ShowInfo(invalidUtf8 + std::string(5000, 'x'), 1e300, -1e-300);
    EXPECT_GT(CountNotBlack(Pixels(), 0, 0, 300, 80), 0);
}
