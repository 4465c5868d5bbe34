#pragma once
// The real player on a private X server: a settings folder of its own for each test, its window
// found by title, and the X tools that look at the window and drive it.

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/screen_image.h"
#include "platform/system/win_types.h"
#include "support/temp_dir.h"
#include "support/process.h"
#include "support/x11_session.h"

namespace e2e {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

}  // namespace e2e

// Screen rectangles in test output: WIDTHxHEIGHT+X+Y.
void PrintTo(const SizedRect& rect, std::ostream* out);

namespace e2e {

inline constexpr int kFrame = 4;  // our sizing frame on each side of the client area

// Generous, so that a loaded machine does not fail a test; none of them is a speed requirement.
inline constexpr milliseconds kPatience = 20s;

// Calls the check until it holds or the time runs out; true when it held.
bool Eventually(const std::function<bool()>& check, milliseconds limit = kPatience);

class PlayerTest : public ::testing::Test {
protected:
    // Starts the program with these arguments; a run still going from before is ended first.
    void Launch(const std::vector<std::string>& args = {});
    harness::Process& Player() { return *m_player; }
    harness::ExitStatus WaitForExit(milliseconds limit = kPatience);

    // The player's window once it is mapped; empty (and the test failed) when it never shows.
    std::string Window();
    std::string Title();
    bool WaitForTitle(const std::string& title);
    SizedRect Geometry();  // the outer rectangle, frame included
    SizedRect Client();    // the rectangle inside the frame

    // The screen inside the rectangle; fails the test when it cannot be read.
    ScreenImage Shot(const SizedRect& area);
    // Takes screenshots of the area until one satisfies the check.
    bool WaitForScreen(const SizedRect& area, const std::function<bool(const ScreenImage&)>& check,
                       milliseconds limit = kPatience);

    // Input goes through the XTEST extension, as from a real pointer and keyboard: keys reach the
    // window under the pointer.
    void Xdotool(std::vector<std::string> args);
    void PressKey(const std::string& key, int x, int y);
    void DragBy(int x, int y, int dx, int dy);
    void RightClick(int x, int y);

    std::string SettingsPath() const;
    std::map<std::string, std::string> ReadSettings() const;
    void WriteSettings(const std::map<std::string, int>& values) const;

    harness::X11Session m_x;
    TempDir m_config;
    // More of the player's environment, for the next Launch.
    std::vector<std::string> m_env;

private:
    std::optional<harness::Process> m_player;
    std::string m_window;
};

}  // namespace e2e
