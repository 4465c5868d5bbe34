#include "support/process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <system_error>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace harness {
namespace {

using Clock = std::chrono::steady_clock;

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&&) = delete;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int Get() const { return m_fd; }
    void Reset()
    {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

[[noreturn]] void Fail(int error, const std::string& what)
{
    throw std::system_error(error, std::generic_category(), what);
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra)
{
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry)
        merged.emplace_back(*entry);
    for (const std::string& assignment : extra) {
        const std::string name = assignment.substr(0, assignment.find('=') + 1);
        std::erase_if(merged, [&](const std::string& e) { return e.starts_with(name); });
        merged.push_back(assignment);
    }
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

class SpawnSetup {
public:
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

}  // namespace

Process::Process(const Command& command)
{
    if (command.argv.empty())
        Fail(EINVAL, "spawn without a program");

    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    if (command.stdoutFd >= 0) {
        posix_spawn_file_actions_adddup2(&setup.actions, command.stdoutFd, 1);
    } else if (command.quiet) {
        posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    }
    if (command.quiet)
        posix_spawn_file_actions_addopen(&setup.actions, 2, "/dev/null", O_WRONLY, 0);

    // dup2 onto the same number would keep close-on-exec set, so such a descriptor goes through a copy.
    std::vector<UniqueFd> copies;
    for (auto [ours, theirs] : command.passFds) {
        if (ours == theirs) {
            copies.emplace_back(fcntl(ours, F_DUPFD_CLOEXEC, 0));
            ours = copies.back().Get();
            if (ours < 0)
                Fail(errno, "dup");
        }
        posix_spawn_file_actions_adddup2(&setup.actions, ours, theirs);
    }

    // A fresh process group, signals at their defaults and none blocked, whatever the test runner did.
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    posix_spawnattr_setsigdefault(&setup.attributes, &all);
    posix_spawnattr_setsigmask(&setup.attributes, &none);

    std::vector<std::string> argv = command.argv;
    std::vector<std::string> env = MergedEnvironment(command.env);
    const int error = posix_spawnp(&m_pid, argv[0].c_str(), &setup.actions, &setup.attributes, Pointers(argv).data(),
                                   Pointers(env).data());
    if (error != 0) {
        m_pid = -1;
        Fail(error, "spawn " + argv[0]);
    }
}

Process::~Process()
{
    if (m_pid > 0 && !m_status) {
        KillGroup();
        Reap(true);
    }
}

Process::Process(Process&& other) noexcept : m_pid(std::exchange(other.m_pid, -1)), m_status(std::move(other.m_status))
{}

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        Process discarded(std::move(*this));
        m_pid = std::exchange(other.m_pid, -1);
        m_status = std::move(other.m_status);
    }
    return *this;
}

bool Process::Running()
{
    return m_pid > 0 && !m_status && !Reap(false);
}

void Process::Signal(int signal) const
{
    if (m_pid > 0 && !m_status)
        kill(m_pid, signal);
}

ExitStatus Process::Wait(milliseconds timeout)
{
    if (m_pid <= 0)
        return {};
    const auto deadline = Clock::now() + timeout;
    while (!m_status && !Reap(false)) {
        if (Clock::now() >= deadline) {
            KillGroup();
            if (Reap(true))
                m_status->timedOut = true;
            break;
        }
        std::this_thread::sleep_for(milliseconds(5));
    }
    return m_status.value_or(ExitStatus{});
}

ExitStatus Process::Terminate(milliseconds grace)
{
    Signal(SIGTERM);
    return Wait(grace);
}

bool Process::Reap(bool block)
{
    if (m_pid <= 0)
        return false;
    int raw = 0;
    pid_t reaped;
    do {
        reaped = waitpid(m_pid, &raw, block ? 0 : WNOHANG);
    } while (reaped < 0 && errno == EINTR);
    if (reaped != m_pid)
        return false;
    ExitStatus status;
    if (WIFEXITED(raw))
        status.code = WEXITSTATUS(raw);
    if (WIFSIGNALED(raw))
        status.signal = WTERMSIG(raw);
    m_status = status;
    return true;
}

void Process::KillGroup()
{
    if (m_pid > 0)
        kill(-m_pid, SIGKILL);
}

Pipe::Pipe()
{
    if (pipe2(m_ends, O_CLOEXEC) != 0)
        Fail(errno, "pipe");
}

Pipe::~Pipe()
{
    for (int end : m_ends) {
        if (end >= 0)
            close(end);
    }
}

void Pipe::CloseWriteEnd()
{
    if (m_ends[1] >= 0)
        close(m_ends[1]);
    m_ends[1] = -1;
}

Output Capture(Command command, milliseconds timeout)
{
    Pipe pipe;
    command.stdoutFd = pipe.WriteEnd();
    Process process(command);
    pipe.CloseWriteEnd();

    const auto deadline = Clock::now() + timeout;
    Output output;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        pollfd watched{pipe.ReadEnd(), POLLIN, 0};
        const int ready = poll(&watched, 1, static_cast<int>(std::max<milliseconds::rep>(left.count(), 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;  // out of time: Wait below ends it
        const ssize_t got = read(pipe.ReadEnd(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        output.out.append(buffer, static_cast<size_t>(got));
    }
    output.status =
        process.Wait(std::max(milliseconds(0), std::chrono::duration_cast<milliseconds>(deadline - Clock::now())));
    return output;
}

}  // namespace harness
