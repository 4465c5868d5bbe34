// A long wait on the UI thread keeps the windows alive, drops the user's input, holds
// posted messages for later and gives way to a close request.

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/framework/responsive_wait.h"
#include "support/window_fixture.h"

namespace {

using namespace std::chrono_literals;

constexpr UINT kPosted = WM_USER + 7;

// Counts close requests without closing, so one window serves several requests.
class StayingWnd : public RecordingWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_CLOSE)
            return RecordingWnd::WindowProc(message, wParam, lParam);
        messages.push_back({message, wParam, lParam});
        return 0;
    }
};

class ResponsiveWaitTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_app.m_pMainWnd = &wnd;
        ASSERT_TRUE(MakeTopLevel(wnd, 120, 80));
    }
    void TearDown() override
    {
        m_app.m_pMainWnd = nullptr;
        WindowTest::TearDown();
    }
    // A wait that settles after `calls` slices, doing `during` on the first slice.
    static std::function<bool(std::chrono::milliseconds)> SettlesAfter(int calls, std::function<void()> during = {})
    {
        auto count = std::make_shared<int>(0);
        return [=](std::chrono::milliseconds slice) {
            if ((*count)++ == 1 && during)
                during();
            std::this_thread::sleep_for(std::min(slice, 20ms));
            return *count > calls;
        };
    }

    StayingWnd wnd;
};

}  // namespace

TEST_F(ResponsiveWaitTest, WindowIsShownTimersRunInputIsDroppedAndMessagesWait)
{
    wnd.SetTimer(3, 10);
    const auto wait = SettlesAfter(15, [&] {
        wnd.PostMessage(kPosted, 1, 2);
        wnd.SendMessage(WM_COMMAND, 1234, 0);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(platform::ClientWidgetOf(wnd.GetSafeHwnd()), &key);
    });
    EXPECT_EQ(platform::AwaitResponsively(wait, 60s), platform::WaitEnd::Settled);
    EXPECT_TRUE(wnd.IsWindowVisible()) << "a hidden main window shows while it waits";
    EXPECT_GT(wnd.Count(WM_TIMER), 0) << "timers run during the wait";
    EXPECT_EQ(wnd.Count(WM_KEYDOWN), 0) << "input is dropped";
    EXPECT_EQ(wnd.Count(kPosted), 0) << "posted messages wait";
    EXPECT_EQ(wnd.Count(WM_COMMAND), 0) << "so do commands sent from outside";
    platform::PumpEvents(20);
    EXPECT_EQ(wnd.Count(kPosted), 1) << "and come once the wait is over";
    EXPECT_EQ(wnd.Count(WM_COMMAND), 1);
    EXPECT_EQ(wnd.Count(WM_KEYDOWN), 0) << "the dropped key is not replayed";
}

TEST_F(ResponsiveWaitTest, EscapeOrAPostedCloseAbandonsTheWaitAndTheCloseComesAfter)
{
    const auto escape = [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(platform::ClientWidgetOf(wnd.GetSafeHwnd()), &key);
    };
    const auto postedClose = [&] { wnd.PostMessage(WM_CLOSE, 0, 0); };
    for (const auto& request : {std::function<void()>(escape), std::function<void()>(postedClose)}) {
        wnd.messages.clear();
        EXPECT_EQ(platform::AwaitResponsively(SettlesAfter(1000, request), 60s), platform::WaitEnd::Abandoned);
        EXPECT_EQ(wnd.Count(WM_CLOSE), 0) << "not inside the wait";
        platform::PumpEvents(20);
        EXPECT_EQ(wnd.Count(WM_CLOSE), 1) << "once, after it";
    }
}

TEST_F(ResponsiveWaitTest, AShortOrTimedOutWaitLeavesTheWindowsAlone)
{
    EXPECT_EQ(platform::AwaitResponsively(SettlesAfter(0), 60s), platform::WaitEnd::Settled);
    EXPECT_FALSE(wnd.IsWindowVisible()) << "an open that settles at once shows nothing early";
    EXPECT_EQ(platform::AwaitResponsively([](std::chrono::milliseconds) { return false; }, 300ms),
              platform::WaitEnd::TimedOut);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
}
