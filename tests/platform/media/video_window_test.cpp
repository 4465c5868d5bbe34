// The graph's video window inside a real owner window: the picture painted
// over the rectangle it is given, the notification message, and input passed
// on to the message drain.

#include <QBackingStore>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "graph_session.h"
#include "platform/framework/app.h"
#include "platform/media/video_widget.h"
#include "platform/framework/window_host.h"
#include "platform/framework/wnd.h"
#include "support/test_media.h"

namespace graph_test {
namespace {

constexpr UINT kGraphNotify = WM_USER + 13;

// A top-level window that records the messages it gets.
class OwnerWindow : public CWnd {
public:
    std::vector<std::pair<UINT, LPARAM>> messages;
    bool Got(UINT message, LPARAM lParam) const
    {
        return std::find(messages.begin(), messages.end(), std::pair{message, lParam}) != messages.end();
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.emplace_back(message, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class VideoWindowTest : public GraphTest {
protected:
    void SetUp() override
    {
        GraphTest::SetUp();
        ASSERT_TRUE(owner.CreateEx(WindowStyle{}, RECT{0, 0, 400, 300}, nullptr));
        owner.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        owner.DestroyWindow();
        platform::PumpEvents(20);
        GraphTest::TearDown();
    }

    // Renders and attaches the window the way the player does.
    void Open(Session& session, const char* medium)
    {
        const auto handle = reinterpret_cast<OAHWND>(owner.GetSafeHwnd());
        ASSERT_EQ(session.Render(MediaPath(medium)), S_OK);
        ASSERT_EQ(session.window->put_Owner(handle), S_OK);
        ASSERT_EQ(session.window->put_WindowStyle(0x46000000), S_OK);
        ASSERT_EQ(session.window->put_MessageDrain(handle), S_OK);
        ASSERT_EQ(session.window->put_AutoShow(OAFALSE), S_OK);
        ASSERT_EQ(session.window->put_Visible(OATRUE), S_OK);
    }

    QWidget* VideoWidget() const
    {
        QWidget* client = platform::ClientWidgetOf(owner.GetSafeHwnd());
        const QList<QWidget*> children = client ? client->findChildren<QWidget*>() : QList<QWidget*>();
        const auto found = std::find_if(children.begin(), children.end(),
                                        [](QWidget* w) { return dynamic_cast<platform::gst::VideoWidget*>(w); });
        return found == children.end() ? nullptr : *found;
    }

    OwnerWindow owner;
};

TEST_F(VideoWindowTest, PaintsThePictureStretchedOverItsRectangle)
{
    Session session;
    Open(session, test_media::kClipAvi.name);
    ASSERT_EQ(session.window->SetWindowPosition(10, 20, 140, 90), S_OK);
    LONG left = 0, top = 0, width = 0, height = 0, visible = OAFALSE;
    EXPECT_EQ(session.window->GetWindowPosition(&left, &top, &width, &height), S_OK);
    EXPECT_EQ((std::vector<LONG>{left, top, width, height}), (std::vector<LONG>{10, 20, 140, 90}));
    EXPECT_EQ(session.window->get_Visible(&visible), S_OK);
    EXPECT_EQ(visible, OATRUE);

    QWidget* video = VideoWidget();
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->geometry(), QRect(10, 20, 140, 90));
    EXPECT_TRUE(video->isVisible());

    // Colour bars from the left: light grey, yellow, cyan, green, magenta, red,
    // blue. Blue at the far right shows the picture was stretched.
    const QImage shot = GrabOnceShown(video);
    ASSERT_EQ(shot.size(), QSize(140, 90));
    const auto bar = [&](int index) { return QColor(shot.pixel(140 * (2 * index + 1) / 14, 20)); };
    EXPECT_GT(std::min({bar(0).red(), bar(0).green(), bar(0).blue()}), 150);
    EXPECT_TRUE(bar(1).red() > 150 && bar(1).green() > 150 && bar(1).blue() < 60);
    EXPECT_TRUE(bar(5).red() > 150 && bar(5).green() < 60 && bar(5).blue() < 60);
    EXPECT_TRUE(bar(6).red() < 60 && bar(6).blue() > 150);

    ASSERT_EQ(session.window->put_Visible(OAFALSE), S_OK);
    EXPECT_FALSE(video->isVisible());
}

TEST_F(VideoWindowTest, PaintsOnScreenAtItsPlaceInTheWindowAndNowhereElse)
{
    Session session;
    Open(session, test_media::kClipAvi.name);
    ASSERT_EQ(session.window->SetWindowPosition(30, 40, 210, 120), S_OK);
    QWidget* video = VideoWidget();
    ASSERT_NE(video, nullptr);
    GrabOnceShown(video);
    QWidget* top = video->window();
    const QPoint corner = video->mapTo(top, QPoint(0, 0));

    // What the window system shows, read back from the X server: the picture where
    // the widget is, scaled to it, and around it what the owner paints itself.
    QImage screen;
    const auto at = [&](int x, int y) { return QColor(screen.pixel(corner + QPoint(x, y))); };
    const auto bar = [&](int index) { return at(210 * (2 * index + 1) / 14, 30); };
    for (int waited = 0; waited <= 2000; waited += 20) {
        screen = top->screen()->grabWindow(top->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        if (screen.rect().contains(QRect(corner - QPoint(1, 1), QSize(212, 122))) && bar(6).blue() > 150)
            break;
        platform::PumpEvents(20);
    }
    ASSERT_TRUE(screen.rect().contains(QRect(corner - QPoint(1, 1), QSize(212, 122))))
        << screen.width() << " x " << screen.height();
    EXPECT_GT(std::min({bar(0).red(), bar(0).green(), bar(0).blue()}), 150);
    EXPECT_TRUE(bar(1).red() > 150 && bar(1).green() > 150 && bar(1).blue() < 60);
    EXPECT_TRUE(bar(6).red() < 60 && bar(6).blue() > 150);

    QBackingStore* store = top->backingStore();
    ASSERT_NE(store, nullptr);
    ASSERT_EQ(store->paintDevice()->devType(), QInternal::Image);
    const auto& owners = *static_cast<QImage*>(store->paintDevice());
    const auto ownersAt = [&](int x, int y) { return QColor(owners.pixel(corner + QPoint(x, y))); };
    EXPECT_EQ(at(-1, 10), ownersAt(-1, 10)) << "left of the widget";
    EXPECT_EQ(at(210, 10), ownersAt(210, 10)) << "right of the widget";
    EXPECT_EQ(at(10, 120), ownersAt(10, 120)) << "below the widget";
    EXPECT_EQ(at(-1, -1), ownersAt(-1, -1)) << "above and left of the widget";
}

TEST_F(VideoWindowTest, PostsTheNotificationForEachEventAndPassesInputToTheDrain)
{
    Session session;
    ASSERT_EQ(session.events->SetNotifyWindow(reinterpret_cast<OAHWND>(owner.GetSafeHwnd()), kGraphNotify, 77), S_OK);
    Open(session, test_media::kOneFrameAvi.name);
    ASSERT_EQ(session.control->Run(), S_OK);
    for (int waited = 0; waited < 10000 && !owner.Got(kGraphNotify, 77); waited += 20)
        platform::PumpEvents(20);
    EXPECT_TRUE(owner.Got(kGraphNotify, 77));
    LONG code = 0;
    ASSERT_TRUE(session.NextEvent(&code, nullptr, 0));
    EXPECT_EQ(code, EC_COMPLETE);

    QWidget* video = VideoWidget();
    ASSERT_NE(video, nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 6), video->mapToGlobal(QPointF(5, 6)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(video, &press);
    EXPECT_TRUE(owner.Got(WM_LBUTTONDOWN, MAKELPARAM(5, 6)));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(7, 8), video->mapToGlobal(QPointF(7, 8)), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(video, &release);
    EXPECT_TRUE(owner.Got(WM_RBUTTONUP, MAKELPARAM(7, 8)));
    EXPECT_TRUE(std::any_of(owner.messages.begin(), owner.messages.end(),
                            [](const auto& m) { return m.first == WM_CONTEXTMENU; }));
}

TEST_F(VideoWindowTest, ReleasingTheGraphTakesItsWindowAway)
{
    {
        Session session;
        Open(session, test_media::kClipMov.name);
        ASSERT_EQ(session.control->Run(), S_OK);
        ASSERT_NE(VideoWidget(), nullptr);
        platform::PumpEvents(200);
    }
    platform::PumpEvents(50);
    EXPECT_EQ(VideoWidget(), nullptr);
}

}  // namespace
}  // namespace graph_test
