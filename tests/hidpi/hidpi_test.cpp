// Drawing at the screen's device pixel ratio (VANTREL_TEST_RATIO, one per test program):
// every size and place stays in logical pixels, the pixels behind them are the
// screen's own, and the picture meets the panel without a seam.

#include <cstdlib>

// Before anything starts the toolkit, which reads it once.
static const int kRatioSet = ::setenv("QT_SCALE_FACTOR", VANTREL_TEST_RATIO, 1);

#include <QBackingStore>
#include <QImage>
#include <QWidget>

#include <memory>
#include <string>

// Ours before GLib's: its TRUE and FALSE macros would break the constants.
#include "platform/framework/paint_dc.h"
#include "platform/gdi/paint.h"
#include "res/resource.h"
#include "ui/label/label_panel.h"
#include "window/window_fixture.h"
#include "platform/media/video_frame.h"
#include "platform/media/video_output.h"

#include <gst/gst.h>

namespace {

constexpr QRgb kGreen = 0x00FF00;
constexpr QRgb kDarkGreen = 0x008000;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kWhite = 0xFFFFFF;

const double kRatio = std::atof(VANTREL_TEST_RATIO);

// A child window that paints itself one colour.
class SolidWnd : public CWnd {
public:
    COLORREF colour = RGB(255, 0, 0);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_PAINT) return CWnd::WindowProc(message, wParam, lParam);
        CPaintDC dc(this);
        RECT r;
        GetClientRect(&r);
        CBrush brush(colour);
        dc.FillRect(&r, &brush);
        return 0;
    }
};

// A BGRx picture, white, or with columns alternating white and black: detail that only
// a picture drawn at full resolution keeps.
std::shared_ptr<const platform::gst::DecodedFrame> Picture(int width, int height, bool striped)
{
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, static_cast<gsize>(width) * height * 4, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) map.data[(y * width + x) * 4 + c] = striped && x % 2 != 0 ? 0x00 : 0xFF;
    gst_buffer_unmap(buffer, &map);
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width", G_TYPE_INT, width,
                                        "height", G_TYPE_INT, height, "framerate", GST_TYPE_FRACTION, 30, 1, nullptr);
    GstSample* sample = gst_sample_new(buffer, caps, nullptr, nullptr);
    gst_buffer_unref(buffer);
    gst_caps_unref(caps);
    auto frame = platform::gst::DecodedFrame::FromSample(sample);
    gst_sample_unref(sample);
    return frame;
}

class HiDpiTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_EQ(kRatioSet, 0);
        gst_init(nullptr, nullptr);
        ASSERT_TRUE(MakeTopLevel(top, 300, 200));
        top.ShowWindow(SW_SHOW);
        platform::PumpEvents(10);
        ASSERT_EQ(TopWidget()->devicePixelRatioF(), kRatio);
    }
    void TearDown() override
    {
        top.DestroyWindow();
        WindowTest::TearDown();
    }
    QWidget* TopWidget(const CWnd& wnd) { return platform::ClientWidgetOf(wnd.GetSafeHwnd())->window(); }
    QWidget* TopWidget() { return TopWidget(top); }
    // What the window system is shown of a top-level window, painted afresh.
    QImage Screen() { return Screen(top); }
    QImage Screen(const CWnd& wnd)
    {
        QWidget* window = TopWidget(wnd);
        window->repaint();
        return *static_cast<QImage*>(window->backingStore()->paintDevice());
    }

    RecordingWnd top;
};

TEST_F(HiDpiTest, PanelDrawsAtTheScreensPixelsInLogicalPlaces)
{
    CLabelPanel panel;
    ASSERT_TRUE(panel.Create(IDD_LABEL_PANEL, &top));
    panel.SetWindowPos(nullptr, 0, 0, 192, 76, SWP_NOZORDER);
    panel.ShowWindow(SW_SHOW);
    panel.m_nTick = 64;
    panel.m_strStatus = "Playing: 5/10  Volume: 5/10    ";
    panel.m_strName = "clip.mpg";
    panel.m_strVideoSize = "Video size: 320 x 240";
    panel.m_dPosition = 5.0;
    panel.m_dDuration = 10.0;
    panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    RECT client{};
    panel.GetClientRect(&client);
    EXPECT_EQ(client.right - client.left, 192) << "sizes stay logical";
    const QImage canvas = Canvas(panel);
    EXPECT_EQ(canvas.devicePixelRatio(), kRatio);
    EXPECT_EQ(canvas.size(), QSize(qCeil(192 * kRatio), qCeil(76 * kRatio)));
    // The bar spans logical x 5..186 from row 3: its corners at their logical places.
    const auto at = [&](int x, int y) {
        return canvas.pixel(int((x + 0.5) * kRatio), int((y + 0.5) * kRatio)) & 0xFFFFFF;
    };
    EXPECT_EQ(at(5, 3), kGreen);
    EXPECT_EQ(at(4, 3), 0u);
    EXPECT_EQ(at(185, 10), kDarkGreen);

    CFont font;
    font.CreatePointFont(90, "MS Sans Serif");
    EXPECT_EQ(font.GetHeightPixels(), 12) << "9 points from the logical DPI";

    // The screen shows the canvas pixel for pixel.
    const QImage screen = Screen();
    const QPoint corner = platform::ClientWidgetOf(panel.GetSafeHwnd())->mapTo(TopWidget(), QPoint(0, 0)) * kRatio;
    EXPECT_EQ(screen.copy(QRect(corner, canvas.size())).convertToFormat(QImage::Format_RGB32),
              canvas.convertToFormat(QImage::Format_RGB32));
}

#if VANTREL_TEST_DOUBLE
TEST_F(HiDpiTest, TextAtTwiceHasEdgesADoubledImageCannotHave)
{
    CLabelPanel panel;
    ASSERT_TRUE(panel.Create(IDD_LABEL_PANEL, &top));
    panel.SetWindowPos(nullptr, 0, 0, 192, 76, SWP_NOZORDER);
    panel.m_nTick = 64;
    panel.m_strStatus = "Playing: 5/10  Volume: 5/10    ";
    panel.m_strName = "The quick brown fox.mpg";
    panel.m_strVideoSize = "Video size: 320 x 240";
    panel.ShowWindow(SW_SHOW);
    panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // As the screen shows it.
    const QImage canvas = Screen().copy(QRect(QPoint(0, 0), QSize(384, 152)));
    int textBlocks = 0;
    int mixedBlocks = 0;
    for (int y = 2 * 12; y + 1 < canvas.height(); y += 2) {
        for (int x = 0; x + 1 < canvas.width(); x += 2) {
            const QRgb a = canvas.pixel(x, y), b = canvas.pixel(x + 1, y), c = canvas.pixel(x, y + 1),
                       d = canvas.pixel(x + 1, y + 1);
            const bool text = ((a | b | c | d) & 0x00FF00) != 0;
            textBlocks += text ? 1 : 0;
            mixedBlocks += text && !(a == b && b == c && c == d) ? 1 : 0;
        }
    }
    ASSERT_GT(textBlocks, 100);
    EXPECT_GT(mixedBlocks, textBlocks / 5) << mixedBlocks << " of " << textBlocks;
}

#endif

TEST_F(HiDpiTest, PictureDrawsAtTheScreensPixels)
{
    platform::gst::VideoOutput output;
    ASSERT_TRUE(output.SetOwner(top.GetSafeHwnd()));
    output.SetPosition({10, 10, 160, 120});
    output.SetVisible(true);
    const int width = qRound(170 * kRatio) - qRound(10 * kRatio);
    output.Present(Picture(width, 60, true));
    platform::PumpEvents(20);
    const QImage screen = Screen();
    const QPoint corner = output.Widget()->mapTo(TopWidget(), QPoint(0, 0)) * kRatio;
    int differing = 0;
    for (int x = 0; x + 1 < width; x += 2)
        differing += screen.pixel(corner + QPoint(x, 100)) != screen.pixel(corner + QPoint(x + 1, 100)) ? 1 : 0;
    EXPECT_EQ(differing, width / 2) << "every column of the picture is a column on the screen";
}

TEST_F(HiDpiTest, SizingFrameKeepsItsLogicalWidthAndItsOutlineOnTheOutermostPixels)
{
    RecordingWnd framed;
    WindowStyle style;
    style.sizingFrame = true;
    ASSERT_TRUE(framed.CreateEx(style, RECT{0, 0, 200, 84}, nullptr));
    framed.ShowWindow(SW_SHOW);
    platform::PumpEvents(10);
    const QImage screen = Screen(framed);
    ASSERT_EQ(screen.size(), QSize(qRound(200 * kRatio), qRound(84 * kRatio)));
    constexpr QRgb kOutline = 0x606060, kFrame = 0x303030;
    const int w = screen.width(), h = screen.height();
    std::string wrong;
    for (int x = 0; x < w; ++x) {
        if ((screen.pixel(x, 0) & 0xFFFFFF) != kOutline) wrong += " top " + std::to_string(x);
        if ((screen.pixel(x, h - 1) & 0xFFFFFF) != kOutline) wrong += " bottom " + std::to_string(x);
    }
    for (int y = 0; y < h; ++y) {
        if ((screen.pixel(0, y) & 0xFFFFFF) != kOutline) wrong += " left " + std::to_string(y);
        if ((screen.pixel(w - 1, y) & 0xFFFFFF) != kOutline) wrong += " right " + std::to_string(y);
    }
    EXPECT_EQ(wrong, "");
    const int inner = qRound(4 * kRatio);
    EXPECT_EQ(screen.pixel(inner - 1, h / 2) & 0xFFFFFF, kFrame);
    EXPECT_EQ(screen.pixel(inner, h / 2) & 0xFFFFFF, 0u) << "the client starts 4 logical pixels in";
    EXPECT_EQ(screen.pixel(w - inner, h / 2) & 0xFFFFFF, kFrame);
    framed.DestroyWindow();
}

TEST_F(HiDpiTest, PictureAndPanelMeetWithoutASeam)
{
    // Odd logical edges land between screen pixels at a fractional ratio.
    SolidWnd below;
    WindowStyle child;
    child.child = true;
    ASSERT_TRUE(below.CreateEx(child, RECT{3, 77, 3 + 191, 77 + 41}, &top));
    below.ShowWindow(SW_SHOW);
    platform::gst::VideoOutput output;
    ASSERT_TRUE(output.SetOwner(top.GetSafeHwnd()));
    output.SetPosition({3, 0, 191, 77});
    output.SetVisible(true);
    output.Present(Picture(2, 2, false));
    platform::PumpEvents(20);

    const QImage screen = Screen();
    const QPoint client = platform::ClientWidgetOf(top.GetSafeHwnd())->mapTo(TopWidget(), QPoint(0, 0)) * kRatio;
    // Down through the picture into the panel, and across each of them: the parent's
    // black, then the picture or the panel, edge to edge, not a pixel lost or doubled.
    const auto pixel = [&](int x, int y) { return screen.pixel(client + QPoint(x, y)) & 0xFFFFFF; };
    const int left = qRound(3 * kRatio), right = qRound(194 * kRatio);
    const int middle = qRound(77 * kRatio), bottom = qRound(118 * kRatio);
    std::string misplaced;
    for (int y = 0; y < bottom + 2; ++y) {
        if (pixel(left + 5, y) != (y < middle ? kWhite : y < bottom ? kRed : 0u)) misplaced += " row " + std::to_string(y);
    }
    for (int x = 0; x < right + 2; ++x) {
        const bool inside = x >= left && x < right;
        if (pixel(x, middle - 1) != (inside ? kWhite : 0u)) misplaced += " picture column " + std::to_string(x);
        if (pixel(x, middle) != (inside ? kRed : 0u)) misplaced += " panel column " + std::to_string(x);
    }
    EXPECT_EQ(misplaced, "");
}

}  // namespace
