#pragma once
// A private X server for one test: Xvfb on a display number of its own, gone with the object.

#include <optional>
#include <string>
#include <vector>

#include "support/process.h"

namespace harness {

class X11Session {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 800;

    // Throws std::runtime_error when the server does not come up.
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    const std::string& Display() const { return m_display; }  // ":N"
    std::string DisplayEnv() const { return "DISPLAY=" + m_display; }

    // Runs a client of this display (xdotool, xprop, xwininfo, import ...) and returns its stdout.
    Output Capture(std::vector<std::string> argv, milliseconds timeout = milliseconds(10000)) const;
    // The id of the first mapped window whose name matches the regular expression, once it exists.
    std::optional<std::string> WaitForWindow(const std::string& nameRegex, milliseconds timeout) const;
    // Saves the whole screen as an image file; the format follows the file's extension.
    bool Screenshot(const std::string& path) const;

private:
    std::optional<Process> m_server;
    std::string m_display;
};

}  // namespace harness
