#include "platform/system/profile_store.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

const char* const kSection = "System";
const std::vector<std::string> kNames = {"AutoRewind", "Repeat", "Zoom", "StretchWindow", "Volume", "x",
                                         "y",          "cx",     "cy"};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Runs `body` in a child process and gives its exit status. The store caches what it
// read per process, so each of several "program runs" gets a process of its own.
int RunInChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Like RunInChild, but a body that hangs is ended after `seconds` (status 128 + SIGALRM),
// so that a hang fails the test instead of stalling the suite.
int RunInChildWithin(unsigned seconds, const std::function<int()>& body)
{
    return RunInChild([&] {
        ::alarm(seconds);
        return body();
    });
}

constexpr int kHung = 128 + SIGALRM;

class ProfileStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir / "Quorvel/vantrel.conf";
};

TEST_F(ProfileStoreTest, MissingFileReadsAsMissingAndIsNotCreated)
{
    const ProfileStore store(path);
    EXPECT_EQ(store.Read(kSection, "Volume"), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ProfileStoreTest, ValuesRoundTripThroughTheIniFile)
{
    {
        ProfileStore store(path);
        EXPECT_TRUE(store.Write(kSection, "x", -1));
        EXPECT_TRUE(store.Write(kSection, "Repeat", 2));
        EXPECT_TRUE(store.Write(kSection, "cx", INT_MIN));
        EXPECT_TRUE(store.Write(kSection, "cy", INT_MAX));
        EXPECT_TRUE(store.Write(kSection, "Volume", 5));
        EXPECT_TRUE(store.Write(kSection, "Volume", 0));
    }
    const std::string text = ReadText(path);
    EXPECT_EQ(text.find("[System]"), 0u) << text;
    EXPECT_NE(text.find("\nx=-1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nVolume=0\n"), std::string::npos) << text;

    EXPECT_EQ(RunInChild([&] {
                  const ProfileStore store(path);
                  const bool same = store.Read(kSection, "x") == -1 && store.Read(kSection, "Repeat") == 2 &&
                                    store.Read(kSection, "cx") == INT_MIN && store.Read(kSection, "cy") == INT_MAX &&
                                    store.Read(kSection, "Volume") == 0 && !store.Read(kSection, "y") &&
                                    !store.Read("Other", "x");
                  return same ? 0 : 1;
              }),
              0);
}

TEST_F(ProfileStoreTest, OnlyDecimal32BitNumbersCount)
{
    std::filesystem::create_directories(dir / "Quorvel");
    WriteText(path, "[System]\n"
                    "text=abc\nempty=\nabove=2147483648\nbelow=-2147483649\nhex=0x10\ntail=12abc\n"
                    "decimal=-2147483648\nspaced= 7 \nlist=1,2\nbytes=@ByteArray(5)\n");
    const ProfileStore store(path);
    for (const char* name : {"text", "empty", "above", "below", "hex", "tail", "list", "bytes"})
        EXPECT_EQ(store.Read(kSection, name), std::nullopt) << name;
    EXPECT_EQ(store.Read(kSection, "decimal"), INT_MIN);
    EXPECT_EQ(store.Read(kSection, "spaced"), 7);
}

TEST_F(ProfileStoreTest, EmptyFileReadsAsMissingAndTakesWrites)
{
    std::filesystem::create_directories(dir / "Quorvel");
    WriteText(path, "");
    ProfileStore store(path);
    EXPECT_EQ(store.Read(kSection, "Volume"), std::nullopt);
    EXPECT_TRUE(store.Write(kSection, "Volume", 3));
    EXPECT_EQ(store.Read(kSection, "Volume"), 3);
}

TEST_F(ProfileStoreTest, RandomBytesReadAsMissingAndAreReplacedByTheNextWrite)
{
    std::filesystem::create_directories(dir / "Quorvel");
    std::mt19937 random(20240607);
    for (int round = 0; round < 20; ++round) {
        const std::string file = dir / ("Quorvel/random" + std::to_string(round) + ".conf");
        std::string junk(4096, '\0');
        for (char& c : junk)
            c = static_cast<char>(random());
        WriteText(file, junk);

        ProfileStore store(file);
        EXPECT_EQ(store.Read(kSection, "Volume"), std::nullopt);
        ASSERT_TRUE(store.Write(kSection, "Volume", 3)) << round;
        // Only plain text is left, and the file reads cleanly in a new run.
        for (const char c : ReadText(file))
            ASSERT_TRUE(c == '\n' || (c >= ' ' && c <= '~')) << round << ": " << int(c);
        EXPECT_EQ(RunInChild([&] { return ProfileStore(file).Read(kSection, "Volume") == 3 ? 0 : 1; }), 0);
    }
}

TEST_F(ProfileStoreTest, DamagedFileKeepsItsGoodValuesAndLosesTheDamage)
{
    std::filesystem::create_directories(dir / "Quorvel");
    WriteText(path, "[System]\nRepeat=1\nZoom=oops\nVolume=5\n[Sys");
    ProfileStore store(path);
    EXPECT_EQ(store.Read(kSection, "Volume"), 5);
    ASSERT_TRUE(store.Write(kSection, "Volume", 8));

    const std::string text = ReadText(path);
    EXPECT_EQ(text.find("[Sys\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("oops"), std::string::npos) << text;
    EXPECT_EQ(RunInChild([&] {
                  const ProfileStore again(path);
                  return again.Read(kSection, "Repeat") == 1 && again.Read(kSection, "Volume") == 8 ? 0 : 1;
              }),
              0);
}

TEST_F(ProfileStoreTest, DirectoryInPlaceOfTheFileReadsAsMissingAndRefusesWrites)
{
    // Stands in for an unreadable file: permissions do not stop root, a directory does.
    std::filesystem::create_directories(path);
    ProfileStore store(path);
    EXPECT_EQ(store.Read(kSection, "Volume"), std::nullopt);
    EXPECT_FALSE(store.Write(kSection, "Volume", 3));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(ProfileStoreTest, WriteIntoAReadOnlyDirectoryFailsQuietly)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "directory permissions do not stop root; see the test with /proc";
    {
        ProfileStore store(path);
        ASSERT_TRUE(store.Write(kSection, "Volume", 5));
    }
    ASSERT_EQ(::chmod((dir / "Quorvel").c_str(), 0555), 0);
    // The dropped value shows neither in the same run nor in the next one.
    EXPECT_EQ(RunInChild([&] {
                  ProfileStore store(path);
                  const bool refused = !store.Write(kSection, "Volume", 7);
                  return refused && store.Read(kSection, "Volume") == 5 ? 0 : 1;
              }),
              0);
    EXPECT_EQ(RunInChild([&] { return ProfileStore(path).Read(kSection, "Volume") == 5 ? 0 : 1; }), 0);
    ::chmod((dir / "Quorvel").c_str(), 0755);
}

TEST_F(ProfileStoreTest, WriteWhereNoFileCanBeCreatedFailsQuietly)
{
    // Nothing can be created in /proc, not even by root; and a file cannot hold a directory.
    ProfileStore inProc("/proc/vantrel-settings-test.conf");
    EXPECT_FALSE(inProc.Write(kSection, "Volume", 7));
    EXPECT_EQ(inProc.Read(kSection, "Volume"), std::nullopt);

    WriteText(dir / "plain", "x");
    ProfileStore belowAFile(dir / "plain/Quorvel/vantrel.conf");
    EXPECT_FALSE(belowAFile.Write(kSection, "Volume", 7));
}

TEST_F(ProfileStoreTest, RunsThatWriteInTurnKeepTheLastValueOfEach)
{
    ASSERT_EQ(RunInChild([&] {
                  ProfileStore store(path);
                  return store.Write(kSection, "Volume", 5) && store.Write(kSection, "Repeat", 1) ? 0 : 1;
              }),
              0);

    // A run that read the file at its start, then another run writes, then the first one closes.
    int toFirst[2];
    int fromFirst[2];
    ASSERT_EQ(::pipe(toFirst), 0);
    ASSERT_EQ(::pipe(fromFirst), 0);
    const pid_t first = ::fork();
    if (first == 0) {
        ProfileStore store(path);
        const bool readOk = store.Read(kSection, "Volume") == 5;
        char go = 0;
        (void)!::write(fromFirst[1], "r", 1);
        (void)!::read(toFirst[0], &go, 1);
        ::_exit(readOk && store.Write(kSection, "Repeat", 0) ? 0 : 1);
    }
    char ready = 0;
    ASSERT_EQ(::read(fromFirst[0], &ready, 1), 1);
    // A different length, so that the first run cannot mistake the new file for the one it read.
    EXPECT_EQ(RunInChild([&] { return ProfileStore(path).Write(kSection, "Volume", 10) ? 0 : 1; }), 0);
    ASSERT_EQ(::write(toFirst[1], "g", 1), 1);
    int status = 0;
    ::waitpid(first, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (const int fd : {toFirst[0], toFirst[1], fromFirst[0], fromFirst[1]})
        ::close(fd);

    EXPECT_EQ(RunInChild([&] {
                  const ProfileStore store(path);
                  return store.Read(kSection, "Volume") == 10 && store.Read(kSection, "Repeat") == 0 ? 0 : 1;
              }),
              0);
}

// Every value present, and, as each pass writes the names in order with a higher
// number, the numbers never rise along the names.
int CheckConsistent(const std::string& path, int* highest)
{
    const ProfileStore store(path);
    std::optional<int> previous;
    for (const std::string& name : kNames) {
        const std::optional<int> value = store.Read(kSection, name);
        if (!value)
            return 1;
        if (previous && *value > *previous)
            return 2;
        previous = value;
    }
    *highest = *store.Read(kSection, kNames.front());
    return 0;
}

TEST_F(ProfileStoreTest, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewValues)
{
    ASSERT_EQ(RunInChild([&] {
                  ProfileStore store(path);
                  for (const std::string& name : kNames)
                      if (!store.Write(kSection, name, 0))
                          return 1;
                  return 0;
              }),
              0);

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayMicroseconds(0, 10000);
    int highest = 0;
    for (int round = 0; round < 60; ++round) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t writer = ::fork();
        if (writer == 0) {
            int last = 0;
            if (CheckConsistent(path, &last) != 0)
                ::_exit(3);
            ProfileStore store(path);
            if (!store.Write(kSection, kNames.front(), last + 1))
                ::_exit(4);
            // Killed from here on, amid a stream of writes.
            (void)!::write(started[1], "s", 1);
            for (int generation = last + 1;; ++generation)
                for (const std::string& name : kNames)
                    store.Write(kSection, name, generation);
        }
        ::close(started[1]);
        char signal = 0;
        const bool writing = ::read(started[0], &signal, 1) == 1;
        ::close(started[0]);
        if (writing)
            ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        ASSERT_TRUE(writing) << "round " << round << ": the writer ended with status " << status;

        int result[2];
        ASSERT_EQ(::pipe(result), 0);
        const int check = RunInChild([&] {
            int value = 0;
            const int consistent = CheckConsistent(path, &value);
            (void)!::write(result[1], &value, sizeof value);
            return consistent;
        });
        int value = 0;
        ASSERT_EQ(::read(result[0], &value, sizeof value), static_cast<ssize_t>(sizeof value));
        ::close(result[0]);
        ::close(result[1]);
        ASSERT_EQ(check, 0) << "round " << round << ": 1 means a value is missing, 2 out of order";
        // Each writer finished at least one write before it was killed.
        EXPECT_GT(value, highest) << "round " << round;
        highest = value;
    }
}

bool IsFifo(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

bool IsLinkTo(const std::string& path, const std::string& target)
{
    std::error_code error;
    return std::filesystem::is_symlink(path, error) && std::filesystem::read_symlink(path, error) == target;
}

TEST_F(ProfileStoreTest, OnlyARegularFileIsReadOrWrittenAndALinkToOneStaysALink)
{
    std::filesystem::create_directories(dir / "Quorvel");
    // A pipe at the path: opening it for reading would wait for a writer for ever.
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EXPECT_EQ(RunInChildWithin(20, [&] { return ProfileStore(path).Read(kSection, "Volume") ? 1 : 0; }), 0)
        << "a pipe reads as missing, at once";
    EXPECT_EQ(RunInChildWithin(20, [&] { return ProfileStore(path).Write(kSection, "Volume", 3) ? 1 : 0; }), 0)
        << "and refuses writes";
    EXPECT_TRUE(IsFifo(path));

    // A link to a pipe or to a directory is neither written through nor replaced.
    ASSERT_EQ(::unlink(path.c_str()), 0);
    const std::string pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    std::filesystem::create_directory(dir / "folder");
    for (const std::string& target : {pipe, dir / "folder", dir / "nowhere"}) {
        std::filesystem::remove(path);
        std::filesystem::create_symlink(target, path);
        EXPECT_EQ(RunInChildWithin(20,
                                   [&] {
                                       ProfileStore store(path);
                                       return !store.Read(kSection, "Volume") && !store.Write(kSection, "Volume", 3)
                                                  ? 0
                                                  : 1;
                                   }),
                  0)
            << target;
        EXPECT_TRUE(IsLinkTo(path, target)) << target;
    }
    EXPECT_TRUE(IsFifo(pipe));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));

    // A link to a regular file (as dotfile managers make) stays a link; its target changes.
    const std::string kept = dir / "dotfiles/vantrel.conf";
    std::filesystem::create_directories(dir / "dotfiles");
    WriteText(kept, "[System]\nVolume=5\n");
    std::filesystem::remove(path);
    std::filesystem::create_symlink(kept, path);
    ProfileStore store(path);
    EXPECT_EQ(store.Read(kSection, "Volume"), 5);
    ASSERT_TRUE(store.Write(kSection, "Volume", 8));
    EXPECT_TRUE(IsLinkTo(path, kept));
    EXPECT_EQ(ReadText(kept), "[System]\nVolume=8\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir / "dotfiles"))
        EXPECT_EQ(entry.path().filename(), "vantrel.conf") << "no temporary file is left beside the target";
}

TEST_F(ProfileStoreTest, NamesMatchWhateverTheirCaseAndAreWrittenBackOnceAsGiven)
{
    std::filesystem::create_directories(dir / "Quorvel");
    // As an editor may save it: a byte order mark first, and lines ending in CR LF.
    WriteText(path, "\xEF\xBB\xBF[system]\r\nvolume=9\r\nREPEAT=2\n[Other]\nx=1\n[SYSTEM]\nVOLUME=7\n");
    ProfileStore store(path);
    EXPECT_EQ(store.Read(kSection, "Volume"), 7) << "of two spellings the later line counts";
    EXPECT_EQ(store.Read(kSection, "Repeat"), 2);
    EXPECT_EQ(store.Read("OTHER", "X"), 1);
    EXPECT_EQ(store.Read(kSection, "x"), std::nullopt);

    ASSERT_TRUE(store.Write(kSection, "Volume", 4));
    EXPECT_EQ(ReadText(path), "[System]\nVolume=4\nREPEAT=2\n\n[Other]\nx=1\n");
    ASSERT_TRUE(store.Write(kSection, "Repeat", 0));
    EXPECT_EQ(ReadText(path), "[System]\nVolume=4\nRepeat=0\n\n[Other]\nx=1\n");
}

TEST_F(ProfileStoreTest, AWriteGivesUpOnABusyLockAndIgnoresALockPathItDoesNotUse)
{
    {
        ProfileStore store(path);
        ASSERT_TRUE(store.Write(kSection, "Volume", 5));
    }
    // A folder where a lock file might go holds nothing up.
    std::filesystem::create_directories(path + ".lock");
    EXPECT_EQ(RunInChildWithin(20, [&] { return ProfileStore(path).Write(kSection, "Volume", 6) ? 0 : 1; }), 0);
    EXPECT_EQ(ProfileStore(path).Read(kSection, "Volume"), 6);
    EXPECT_TRUE(std::filesystem::is_directory(path + ".lock"));

    // Another writer that never lets go (a stopped process, say): this one gives up, and the
    // value it could not save shows nowhere.
    const int folder = ::open((dir / "Quorvel").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    EXPECT_EQ(RunInChildWithin(20,
                               [&] {
                                   ProfileStore store(path);
                                   return !store.Write(kSection, "Volume", 7) && store.Read(kSection, "Volume") == 6
                                              ? 0
                                              : 1;
                               }),
              0);
    ::close(folder);
    EXPECT_EQ(ReadText(path), "[System]\nVolume=6\n");
}

TEST_F(ProfileStoreTest, AStaleTemporaryFileGoesWithTheNextSaveAndNothingElseDoes)
{
    {
        ProfileStore store(path);
        ASSERT_TRUE(store.Write(kSection, "Volume", 5));
    }
    // What a save killed between creating its new file and moving it into place leaves.
    const std::string stale = dir / "Quorvel/vantrel.conf.new-k3Xq9Z";
    WriteText(stale, "[System]\nVol");
    const std::vector<std::string> others = {dir / "Quorvel/vantrel.conf.backup",
                                             dir / "Quorvel/vantrel.conf.new-notes",
                                             dir / "Quorvel/other.conf.new-k3Xq9Z"};
    for (const std::string& other : others)
        WriteText(other, "mine");
    ProfileStore store(path);
    ASSERT_TRUE(store.Write(kSection, "Volume", 6));
    EXPECT_FALSE(std::filesystem::exists(stale));
    for (const std::string& other : others)
        EXPECT_EQ(ReadText(other), "mine") << other;
}

TEST_F(ProfileStoreTest, StagedValuesReadAtOnceAndReachTheFileInOneReplacement)
{
    {
        ProfileStore store(path);
        for (const std::string& name : kNames)
            ASSERT_TRUE(store.Write(kSection, name, 0));
    }
    const std::string before = ReadText(path);

    // Killed before its commit, a run leaves the file as it was.
    EXPECT_EQ(RunInChild([&] {
                  ProfileStore store(path);
                  for (const std::string& name : kNames)
                      store.Stage(kSection, name, 1);
                  ::raise(SIGKILL);
                  return 0;
              }),
              128 + SIGKILL);
    EXPECT_EQ(ReadText(path), before);

    ProfileStore store(path);
    for (const std::string& name : kNames)
        store.Stage(kSection, name, 2);
    EXPECT_EQ(ReadText(path), before) << "nothing is written before the commit";
    EXPECT_EQ(ProfileStore(path).Read(kSection, "cy"), 2) << "every store of the file sees the staged values";
    struct stat old {};
    ASSERT_EQ(::stat(path.c_str(), &old), 0);
    ASSERT_TRUE(store.Commit());
    EXPECT_EQ(RunInChild([&] {
                  int highest = 0;
                  return CheckConsistent(path, &highest) == 0 && highest == 2 ? 0 : 1;
              }),
              0);

    // A commit that fails drops what it could not save.
    ProfileStore inProc("/proc/vantrel-settings-test.conf");
    inProc.Stage(kSection, "Volume", 7);
    EXPECT_EQ(inProc.Read(kSection, "Volume"), 7);
    EXPECT_FALSE(inProc.Commit());
    EXPECT_EQ(inProc.Read(kSection, "Volume"), std::nullopt);
}

TEST(DefaultPath, FollowsXdgConfigHome)
{
    const ScopedEnv home("HOME", "/home/ann");
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/srv/conf/");
        EXPECT_EQ(ProfileStore::DefaultPath("Quorvel", "vantrel"), "/srv/conf/Quorvel/vantrel.conf");
    }
    // Unset, empty and relative (which is not a valid base) all mean ~/.config.
    for (const char* xdgValue : {static_cast<const char*>(nullptr), "", "conf"}) {
        const ScopedEnv xdg("XDG_CONFIG_HOME", xdgValue);
        EXPECT_EQ(ProfileStore::DefaultPath("Quorvel", "player"), "/home/ann/.config/Quorvel/player.conf");
    }
}

}  // namespace
