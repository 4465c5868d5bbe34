// Pictures put on a real X window from shared memory, on a private X server:
// the server shows them at the window's top-left, clears to black, and takes
// only images it can read.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <cstdlib>
#include <memory>

#include "platform/media/x_shm_surface.h"
#include "platform/toolkit/toolkit.h"
#include "support/x11_session.h"
namespace platform::gst {
namespace {

class XShmSurfaceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = std::make_unique<harness::X11Session>();
        ::setenv("DISPLAY", server->Display().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        platform::EnsureToolkit();
    }
    // The toolkit goes before its server does.
    static void TearDownTestSuite()
    {
        platform::DestroyToolkit();
        server.reset();
    }
    static inline std::unique_ptr<harness::X11Session> server;
};

// What the X server holds in `window`, read back from it.
QImage OnServer(QWindow& window)
{
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

TEST_F(XShmSurfaceTest, APutShowsThePixelsWhereTheyAreAndAClearLeavesBlack)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "the tests run on X";
    QWindow window;
    window.setGeometry(0, 0, 200, 100);
    window.show();
    platform::PumpEvents(50);
    const std::shared_ptr<XShmSurface> surface = XShmSurface::ForWindow(window.winId());
    ASSERT_NE(surface, nullptr) << "a local X server with MIT-SHM";

    QImage image = surface->MakeImage(QSize(120, 60));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    image.fill(QColor(Qt::red));
    image.setPixel(119, 59, qRgb(0, 0, 255));
    ASSERT_TRUE(surface->Put(image));
    // Put returns once the server has read the pixels: they may change at once.
    image.fill(QColor(Qt::green));
    QImage shown = OnServer(window);
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown.pixel(119, 59) & 0xFFFFFF, 0x0000FFu) << "the last pixel of the last row";

    surface->Clear();
    shown = OnServer(window);
    EXPECT_EQ(shown.pixel(10, 10) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(150, 80) & 0xFFFFFF, 0u);

    EXPECT_FALSE(surface->Put(QImage(120, 60, QImage::Format_RGB32))) << "memory the server cannot see";
}

TEST_F(XShmSurfaceTest, ImagesOutliveTheSurfaceAndAnotherSurfacePutsThem)
{
    QWindow first, second;
    for (QWindow* window : {&first, &second}) {
        window->setGeometry(0, 0, 64, 64);
        window->show();
    }
    platform::PumpEvents(50);
    std::shared_ptr<XShmSurface> surface = XShmSurface::ForWindow(first.winId());
    ASSERT_NE(surface, nullptr);
    QImage image = surface->MakeImage(QSize(64, 64));
    ASSERT_FALSE(image.isNull());
    image.fill(QColor(Qt::white));
    surface.reset();
    const std::shared_ptr<XShmSurface> other = XShmSurface::ForWindow(second.winId());
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(other->Put(image));
    EXPECT_EQ(OnServer(second).pixel(32, 32) & 0xFFFFFF, 0xFFFFFFu);
    image = QImage();  // gives the segment back; the sanitizers watch that it is freed once
}

}  // namespace
}  // namespace platform::gst
