// Drawing at the screen's device pixel ratio (VANTREL_TEST_RATIO, one per test program,
// whose suite VANTREL_TEST_SUITE names it): sizes and places stay logical, the pixels
// behind them are the screen's own.

#include <cstdlib>

// Before anything starts the toolkit, which reads it once.
static const int kRatioSet = ::setenv("QT_SCALE_FACTOR", VANTREL_TEST_RATIO, 1);

#include <QBackingStore>
#include <QImage>
#include <QWidget>

#include <string>

// Ours before GLib's: its TRUE and FALSE macros would break the constants.
#include "platform/framework/paint_dc.h"
#include "res/resource.h"
#include "ui/label/label_panel.h"
#include "support/window_fixture.h"
#include "platform/media/video_frame.h"
#include "platform/media/video_output.h"

#include <gst/gst.h>

namespace {

const double kRatio = std::atof(VANTREL_TEST_RATIO);

// A child window filled red.
class RedWnd : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_PAINT)
            return CWnd::WindowProc(message, wParam, lParam);
        CPaintDC dc(this);
        RECT r;
        GetClientRect(&r);
        CBrush red(RGB(255, 0, 0));
        dc.FillRect(&r, &red);
        return 0;
    }
};

// Columns alternating white and black: detail only a picture drawn at full resolution keeps.
std::shared_ptr<const platform::gst::DecodedFrame> StripedPicture(int width, int height)
{
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, static_cast<gsize>(width) * height * 4, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    for (gsize i = 0; i < map.size; ++i)
        map.data[i] = (i / 4) % 2 == 0 ? 0xFF : 0x00;
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

class VANTREL_TEST_SUITE : public WindowTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(kRatioSet, 0);
        gst_init(nullptr, nullptr);
        ASSERT_TRUE(MakeTopLevel(top, 300, 200));
        top.ShowWindow(SW_SHOW);
        platform::PumpEvents(10);
    }
    static QWidget* TopWidget(const CWnd& wnd) { return platform::ClientWidgetOf(wnd.GetSafeHwnd())->window(); }
    // What the window system is shown of a window, painted afresh; and a pixel of it.
    static QImage Screen(const CWnd& wnd)
    {
        TopWidget(wnd)->repaint();
        return *static_cast<QImage*>(TopWidget(wnd)->backingStore()->paintDevice());
    }
    static QRgb Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

    RecordingWnd top;
};

TEST_F(VANTREL_TEST_SUITE, PanelIsDrawnAtTheScreensPixelsInItsLogicalPlaces)
{
    CLabelPanel panel;
    ASSERT_TRUE(panel.Create(IDD_LABEL_PANEL, &top));
    panel.SetWindowPos(nullptr, 0, 0, 192, 76, SWP_NOZORDER);
    panel.ShowWindow(SW_SHOW);
    panel.m_nTick = 64;
    panel.m_strStatus = "Playing: 5/10  Volume: 5/10    ";
    panel.m_strName = "The quick brown fox.mpg";
    panel.m_dPosition = 5.0;
    panel.m_dDuration = 10.0;
    panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    const QImage canvas = Canvas(panel);
    EXPECT_EQ(canvas.devicePixelRatio(), kRatio);
    ASSERT_EQ(canvas.size(), QSize(qCeil(192 * kRatio), qCeil(76 * kRatio)));
    // The bar's corners, logical (5, 3) and (185, 10), sampled at their pixels' centres.
    const auto at = [&](int x, int y) { return Rgb(canvas, int((x + 0.5) * kRatio), int((y + 0.5) * kRatio)); };
    EXPECT_EQ(at(5, 3), 0x00FF00u);
    EXPECT_EQ(at(4, 3), 0u);
    EXPECT_EQ(at(185, 10), 0x008000u);

    const QImage screen = Screen(top).copy(canvas.rect());
    EXPECT_EQ(screen.convertToFormat(QImage::Format_RGB32), canvas.convertToFormat(QImage::Format_RGB32))
        << "shown pixel for pixel";
    if (kRatio == 2.0) {
        // Text drawn at 1x and doubled is made of uniform 2x2 blocks only.
        int textBlocks = 0, mixedBlocks = 0;
        for (int y = 24; y + 1 < screen.height(); y += 2) {
            for (int x = 0; x + 1 < screen.width(); x += 2) {
                const QRgb a = Rgb(screen, x, y), b = Rgb(screen, x + 1, y), c = Rgb(screen, x, y + 1),
                           d = Rgb(screen, x + 1, y + 1);
                textBlocks += (a | b | c | d) != 0 ? 1 : 0;
                mixedBlocks += (a | b | c | d) != 0 && !(a == b && b == c && c == d) ? 1 : 0;
            }
        }
        EXPECT_GT(mixedBlocks, textBlocks / 5) << mixedBlocks << " of " << textBlocks;
    }
}

TEST_F(VANTREL_TEST_SUITE, PictureIsDrawnAtTheScreensPixelsAndMeetsThePanelBelowIt)
{
    // Odd logical edges fall between screen pixels at a fractional ratio.
    RedWnd below;
    WindowStyle child;
    child.child = true;
    ASSERT_TRUE(below.CreateEx(child, RECT{3, 77, 3 + 191, 77 + 41}, &top));
    below.ShowWindow(SW_SHOW);
    platform::gst::VideoOutput output;
    ASSERT_TRUE(output.SetOwner(top.GetSafeHwnd()));
    output.SetPosition({3, 0, 191, 77});
    output.SetVisible(true);
    const int left = qRound(3 * kRatio), right = qRound(194 * kRatio);
    const int middle = qRound(77 * kRatio), bottom = qRound(118 * kRatio);
    output.Present(StripedPicture(right - left, 10));
    // The picture is made for the screen on a worker thread.
    QImage screen = Screen(top);
    for (int tries = 0; tries < 200 && Rgb(screen, left, 0) != 0xFFFFFFu; ++tries) {
        platform::PumpEvents(10);
        screen = Screen(top);
    }
    std::string wrong;
    for (int x = 0; x < right + 2; ++x) {
        const bool inside = x >= left && x < right;
        const QRgb stripe = (x - left) % 2 == 0 ? 0xFFFFFFu : 0u;
        if (Rgb(screen, x, middle - 1) != (inside ? stripe : 0u))
            wrong += " picture column " + std::to_string(x);
        if (Rgb(screen, x, middle) != (inside ? 0xFF0000u : 0u))
            wrong += " panel column " + std::to_string(x);
    }
    for (int y = 0; y < bottom + 2; ++y) {
        const QRgb expected = y < middle ? 0xFFFFFFu : y < bottom ? 0xFF0000u : 0u;
        if (Rgb(screen, left, y) != expected)
            wrong += " row " + std::to_string(y);
    }
    EXPECT_EQ(wrong, "") << "every column of the picture on a column of the screen, edge to edge with the panel";
}

TEST_F(VANTREL_TEST_SUITE, SizingFrameKeepsItsLogicalWidthAndItsOutlineOnTheOutermostPixels)
{
    RecordingWnd framed;
    WindowStyle style;
    style.sizingFrame = true;
    ASSERT_TRUE(framed.CreateEx(style, RECT{0, 0, 200, 84}, nullptr));
    framed.ShowWindow(SW_SHOW);
    platform::PumpEvents(10);
    const QImage screen = Screen(framed);
    ASSERT_EQ(screen.size(), QSize(qRound(200 * kRatio), qRound(84 * kRatio)));
    const int w = screen.width(), h = screen.height();
    std::string wrong;
    for (int x = 0; x < w; ++x) {
        if (Rgb(screen, x, 0) != 0x606060u || Rgb(screen, x, h - 1) != 0x606060u)
            wrong += " x " + std::to_string(x);
    }
    for (int y = 0; y < h; ++y) {
        if (Rgb(screen, 0, y) != 0x606060u || Rgb(screen, w - 1, y) != 0x606060u)
            wrong += " y " + std::to_string(y);
    }
    EXPECT_EQ(wrong, "") << "the outline";
    const int inner = qRound(4 * kRatio);
    EXPECT_EQ(Rgb(screen, inner - 1, h / 2), 0x303030u);
    EXPECT_EQ(Rgb(screen, inner, h / 2), 0u) << "the client starts 4 logical pixels in";
    framed.DestroyWindow();
}

}  // namespace
