#include "support/x11_session.h"

#include <cerrno>
#include <stdexcept>

#include <poll.h>
#include <unistd.h>

namespace harness {
namespace {

constexpr milliseconds kStartLimit(15000);
constexpr milliseconds kStopGrace(5000);
constexpr int kDisplayFdInChild = 3;

// Xvfb writes its display number and a newline to this pipe once it accepts clients.
std::string ReadDisplayNumber(int fd)
{
    std::string text;
    char c = 0;
    while (!text.ends_with('\n')) {
        pollfd watched{fd, POLLIN, 0};
        const int ready = poll(&watched, 1, static_cast<int>(kStartLimit.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            throw std::runtime_error("Xvfb did not report a display in time");
        const ssize_t got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw std::runtime_error("Xvfb ended before it reported a display");
        text.push_back(c);
    }
    text.pop_back();
    return text;
}

}  // namespace

X11Session::X11Session()
{
    const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
    Pipe announcement;
    m_server.emplace(Command{
        .argv = {"Xvfb",                             "-displayfd", std::to_string(kDisplayFdInChild), "-screen", "0", screen, "-nolisten", "tcp",
                 "-noreset"},
        .passFds = {{announcement.WriteEnd(), kDisplayFdInChild}},
        .quiet = true,
    });
    announcement.CloseWriteEnd();
    m_display = ":" + ReadDisplayNumber(announcement.ReadEnd());
}

X11Session::~X11Session()
{
    if (m_server)
        m_server->Terminate(kStopGrace);
}

Output X11Session::Capture(std::vector<std::string> argv, milliseconds timeout) const
{
    return harness::Capture(Command{.argv = std::move(argv), .env = {DisplayEnv()}}, timeout);
}

std::optional<std::string> X11Session::WaitForWindow(const std::string& nameRegex, milliseconds timeout) const
{
    const Output found = Capture({"xdotool", "search", "--sync", "--onlyvisible", "--name", nameRegex}, timeout);
    if (found.status.code != 0)
        return std::nullopt;
    const std::string first = found.out.substr(0, found.out.find('\n'));
    if (first.empty())
        return std::nullopt;
    return first;
}

bool X11Session::Screenshot(const std::string& path) const
{
    return Capture({"import", "-window", "root", path}).status.code == 0;
}

}  // namespace harness
