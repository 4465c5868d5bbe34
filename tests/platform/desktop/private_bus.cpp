#include "platform/desktop/private_bus.h"

#include <poll.h>
#include <unistd.h>

#include <stdexcept>

namespace desktop_test {

namespace {

constexpr int kAddressFd = 3;
constexpr int kStartTimeoutMs = 10000;

}  // namespace

PrivateBus::PrivateBus()
{
    harness::Pipe pipe;
    m_daemon.emplace(harness::Command{
        .argv = {"dbus-daemon", "--session", "--nofork", "--print-address=" + std::to_string(kAddressFd)},
        .passFds = {{pipe.WriteEnd(), kAddressFd}  },
    });
    pipe.CloseWriteEnd();
    std::string text;
    for (;;) {
        pollfd ready{pipe.ReadEnd(), POLLIN, 0};
        if (::poll(&ready, 1, kStartTimeoutMs) <= 0)
            break;
        char buffer[256];
        const ssize_t n = ::read(pipe.ReadEnd(), buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.find('\n') != std::string::npos)
            break;
    }
    const auto newline = text.find('\n');
    if (newline == std::string::npos || newline == 0)
        throw std::runtime_error("dbus-daemon gave no address");
    m_address = text.substr(0, newline);
    m_env.emplace("DBUS_SESSION_BUS_ADDRESS", m_address.c_str());
}

std::string PrivateBus::Run(std::vector<std::string> argv) const
{
    std::string out = harness::Capture(harness::Command{.argv = std::move(argv), .quiet = true}).out;
    if (out.ends_with('\n'))
        out.pop_back();
    return out;
}

}  // namespace desktop_test
