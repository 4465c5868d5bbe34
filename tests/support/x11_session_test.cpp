#include "support/x11_session.h"

#include <string>

#include <gtest/gtest.h>

namespace harness {
namespace {

TEST(X11Session, ServesItsOwnDisplay)
{
    X11Session session;
    ASSERT_FALSE(session.Display().empty());
    const Output info = session.Capture({"xdpyinfo"});
    ASSERT_EQ(info.status.code, 0);
    EXPECT_NE(info.out.find("name of display:    " + session.Display()), std::string::npos);
    EXPECT_NE(info.out.find("dimensions:    1280x800 pixels"), std::string::npos);
    EXPECT_NE(info.out.find("depth of root window:    24 planes"), std::string::npos);
}

TEST(X11Session, TwoSessionsGetTwoDisplays)
{
    X11Session first;
    X11Session second;
    EXPECT_NE(first.Display(), second.Display());
    EXPECT_EQ(second.Capture({"xdpyinfo"}).status.code, 0);
}

TEST(X11Session, TheServerGoesWithTheSession)
{
    std::string display;
    {
        X11Session session;
        display = session.Display();
    }
    const Output info = Capture({.argv = {"xdpyinfo"}, .env = {"DISPLAY=" + display}, .quiet = true});
    EXPECT_NE(info.status.code, 0);
}

TEST(X11Session, FindsAMappedWindowByName)
{
    X11Session session;
    Process window({
        .argv = {"xmessage",       "-name", "harness-probe", "-title", "Harness probe", "hello"},
        .env = {session.DisplayEnv()},
        .quiet = true
    });
    const auto id = session.WaitForWindow("^Harness probe$", milliseconds(20000));
    ASSERT_TRUE(id);
    const Output name = session.Capture({"xdotool", "getwindowname", *id});
    EXPECT_EQ(name.out, "Harness probe\n");
    EXPECT_FALSE(session.WaitForWindow("^No such window$", milliseconds(300)));
}

TEST(X11Session, ScreenshotIsTheSizeOfTheScreen)
{
    X11Session session;
    const std::string path = testing::TempDir() + "x11_session_screen.png";
    ASSERT_TRUE(session.Screenshot(path));
    const Output size = Capture({
        .argv = {"identify", "-format", "%wx%h", path}
    });
    EXPECT_EQ(size.out, "1280x800");
}

}  // namespace
}  // namespace harness
