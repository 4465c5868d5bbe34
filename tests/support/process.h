#pragma once
// Child programs for end-to-end tests: spawned with their own arguments and environment, waited
// for with a time limit, and ended for certain when the test is done with them.

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace harness {

using std::chrono::milliseconds;

struct Command {
    std::vector<std::string> argv{};             // argv[0] is looked up in PATH unless it has a '/'
    std::vector<std::string> env{};              // "NAME=VALUE", added to ours or replacing ours
    std::vector<std::pair<int, int>> passFds{};  // our descriptor -> its number in the child
    int stdoutFd = -1;                           // the child's stdout, when set
    bool quiet = false;                          // otherwise stdout and stderr go to /dev/null
};

struct ExitStatus {
    std::optional<int> code;    // set when the program exited by itself
    std::optional<int> signal;  // set when a signal ended it
    bool timedOut = false;      // the wait ran out of time and killed it
};

// The child runs in a process group of its own, so that a kill also reaches what it started.
class Process {
public:
    // Throws std::system_error when the program cannot be started.
    explicit Process(const Command& command);
    ~Process();  // kills and reaps a child that is still running

    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return m_pid; }
    bool Running();

    void Signal(int signal) const;
    // Waits for the child to end; when the time runs out it kills the child's process group.
    ExitStatus Wait(milliseconds timeout);
    // SIGTERM, then the kill of Wait when the child has not ended within the grace period.
    ExitStatus Terminate(milliseconds grace);

private:
    bool Reap(bool block);
    void KillGroup();

    pid_t m_pid = -1;
    std::optional<ExitStatus> m_status;
};

// A pipe whose ends close with it, both close-on-exec: a child gets an end through Command.
class Pipe {
public:
    Pipe();  // throws std::system_error
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int ReadEnd() const { return m_ends[0]; }
    int WriteEnd() const { return m_ends[1]; }
    // Once the child holds the write end, ours must go for the reader to see the end of the data.
    void CloseWriteEnd();

private:
    int m_ends[2] = {-1, -1};
};

struct Output {
    ExitStatus status;
    std::string out;
};

// Runs a command to its end, or until the timeout kills it, and returns what it wrote to stdout.
Output Capture(Command command, milliseconds timeout = milliseconds(10000));

}  // namespace harness
