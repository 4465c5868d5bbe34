#include "support/process.h"

#include <csignal>
#include <cstdlib>
#include <system_error>

#include <unistd.h>

#include <gtest/gtest.h>

namespace harness {
namespace {

TEST(Process, ReportsTheExitCode)
{
    Process process({
        .argv = {"sh", "-c", "exit 3"}
    });
    const ExitStatus status = process.Wait(milliseconds(10000));
    EXPECT_EQ(status.code, 3);
    EXPECT_FALSE(status.signal);
    EXPECT_FALSE(status.timedOut);
}

TEST(Process, KillsAHungProgramAtItsTimeout)
{
    Process process({
        .argv = {"sleep", "600"}
    });
    const ExitStatus status = process.Wait(milliseconds(200));
    EXPECT_TRUE(status.timedOut);
    EXPECT_EQ(status.signal, SIGKILL);
    EXPECT_FALSE(status.code);
    EXPECT_FALSE(process.Running());
}

TEST(Process, TheKillReachesWhatTheProgramStarted)
{
    // The shell's child keeps stdout open: Capture only returns once the kill took both.
    const Output output = Capture(
        {
            .argv = {"sh", "-c", "echo started; sleep 600; echo never"}
    },
        milliseconds(3000));
    EXPECT_TRUE(output.status.timedOut);
    EXPECT_EQ(output.out, "started\n");
}

TEST(Process, DeliversSignals)
{
    Process process({
        .argv = {"sleep", "600"}
    });
    EXPECT_TRUE(process.Running());
    process.Signal(SIGTERM);
    const ExitStatus status = process.Wait(milliseconds(10000));
    EXPECT_EQ(status.signal, SIGTERM);
    EXPECT_FALSE(status.timedOut);
}

TEST(Process, TerminateLetsAProgramThatHandlesSigtermEndByItself)
{
    Pipe started;
    Process process({
        .argv = {"sh", "-c", "trap 'exit 7' TERM; echo up; while :; do sleep 0.05; done"},
        .stdoutFd = started.WriteEnd()
    });
    started.CloseWriteEnd();
    char first = 0;
    ASSERT_EQ(read(started.ReadEnd(), &first, 1), 1);  // the trap is set
    const ExitStatus status = process.Terminate(milliseconds(10000));
    EXPECT_EQ(status.code, 7);
    EXPECT_FALSE(status.timedOut);
}

TEST(Process, AddsAndReplacesEnvironmentVariables)
{
    setenv("VANTREL_HARNESS_KEPT", "kept", 1);
    setenv("VANTREL_HARNESS_REPLACED", "old", 1);
    const Output output = Capture({
        .argv = {"sh", "-c",                       "echo $VANTREL_HARNESS_KEPT $VANTREL_HARNESS_REPLACED $VANTREL_HARNESS_NEW"},
        .env = {"VANTREL_HARNESS_REPLACED=new",    "VANTREL_HARNESS_NEW=added"},
    });
    EXPECT_EQ(output.status.code, 0);
    EXPECT_EQ(output.out, "kept new added\n");
}

TEST(Process, PassesArgumentsUnsplit)
{
    const Output output = Capture({
        .argv = {"printf", "[%s]", "two words", "", "*"}
    });
    EXPECT_EQ(output.out, "[two words][][*]");
}

TEST(Process, ThrowsForAProgramThatDoesNotExist)
{
    EXPECT_THROW(Process({.argv = {"vantrel-no-such-program"}}), std::system_error);
}

}  // namespace
}  // namespace harness
