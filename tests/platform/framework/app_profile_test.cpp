// The application object's profile: what one handler writes reaches the file in one
// replacement, and only once the handler is done.

#include <gtest/gtest.h>

#include <QTimer>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "platform/framework/app.h"
#include "platform/toolkit/toolkit.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

const char* const kNames[] = {"AutoRewind", "Repeat", "Zoom", "StretchWindow", "Volume", "x", "y", "cx", "cy"};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The nine values, each `value` or, with `value` 0, numbered 1 to 9 in order.
std::string NineValues(int value)
{
    std::string text = "[System]\n";
    int n = 0;
    for (const char* name : kNames)
        text += std::string(name) + "=" + std::to_string(value != 0 ? value : ++n) + "\n";
    return text;
}

int RunInChild(const std::function<void()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class ApplicationProfile : public ::testing::Test {
protected:
    ApplicationProfile() { platform::EnsureToolkit(); }
    void StoreNine(int value)
    {
        std::filesystem::create_directories(dir / "Quorvel");
        std::ofstream(path, std::ios::binary) << NineValues(value);
    }
    // Writes the nine as the player window's close does: 1 to 9.
    static void WriteNine(CWinApp& app)
    {
        int n = 0;
        for (const char* name : kNames)
            app.WriteProfileInt("System", name, ++n);
    }

    TempDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.Path().c_str()};
    std::string path = dir / "Quorvel/vantrel-test.conf";
};

}  // namespace

TEST_F(ApplicationProfile, OneHandlersWritesReachTheFileTogetherOnceItHasReturned)
{
    StoreNine(-5);
    CWinApp app("vantrel-test");
    app.SetRegistryKey("Quorvel");
    bool ran = false;
    std::string fileDuring;
    int readDuring = 0;
    QTimer::singleShot(0, [&] {
        WriteNine(app);
        fileDuring = ReadText(path);
        readDuring = app.GetProfileInt("System", "cy", 0);
        ran = true;
    });
    platform::PumpEvents(20);
    ASSERT_TRUE(ran);
    EXPECT_EQ(fileDuring, NineValues(-5)) << "the file is untouched while the handler runs";
    EXPECT_EQ(readDuring, 9) << "reads see the new values at once";
    EXPECT_EQ(ReadText(path), NineValues(0));
}

TEST_F(ApplicationProfile, ExitInstanceAndTheApplicationsEndSaveWhatIsPendingAndAKillBeforeSavesNothing)
{
    StoreNine(-5);
    EXPECT_EQ(RunInChild([] {
                  CWinApp app("vantrel-test");
                  app.SetRegistryKey("Quorvel");
                  WriteNine(app);
                  ::raise(SIGKILL);
              }),
              128 + SIGKILL);
    EXPECT_EQ(ReadText(path), NineValues(-5)) << "killed before its commit, a run leaves the old file whole";

    EXPECT_EQ(RunInChild([] {
                  CWinApp app("vantrel-test");
                  app.SetRegistryKey("Quorvel");
                  WriteNine(app);
                  app.ExitInstance();
                  ::_exit(0);
              }),
              0);
    EXPECT_EQ(ReadText(path), NineValues(0));

    StoreNine(-5);
    EXPECT_EQ(RunInChild([] {
                  CWinApp app("vantrel-test");
                  app.SetRegistryKey("Quorvel");
                  WriteNine(app);
              }),
              0);
    EXPECT_EQ(ReadText(path), NineValues(0)) << "saved when the application object ends";
}
