#pragma once
// A session bus of the test's own: a dbus-daemon that lives as long as the object, whose
// address every program the test starts gets through DBUS_SESSION_BUS_ADDRESS.

#include <optional>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/scoped_env.h"

namespace desktop_test {

class PrivateBus {
public:
    PrivateBus();  // throws std::runtime_error when the daemon does not come up
    const std::string& Address() const { return m_address; }

    // Runs a client of this bus to its end and returns what it printed, without the last newline.
    std::string Run(std::vector<std::string> argv) const;

private:
    std::optional<harness::Process> m_daemon;
    std::string m_address;
    std::optional<ScopedEnv> m_env;
};

}  // namespace desktop_test
