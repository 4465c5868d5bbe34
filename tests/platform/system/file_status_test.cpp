#include "platform/system/file_status.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace {

void SetMtime(const std::string& path, std::int64_t seconds)
{
    const utimbuf times{static_cast<time_t>(seconds), static_cast<time_t>(seconds)};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

TEST(GetFileStatus, ReportsLengthAndLastWriteOfAFile)
{
    const TempDir dir;
    const std::string path = dir / "clip.mpg";
    std::ofstream(path) << std::string(1234, 'a');
    SetMtime(path, 1700000000);

    FileStatus status;
    ASSERT_TRUE(GetFileStatus(path, &status));
    EXPECT_EQ(status.size, 1234);
    EXPECT_EQ(status.mtime, 1700000000);
}

TEST(GetFileStatus, KeepsTheFullLengthOfLargeFiles)
{
    const TempDir dir;
    const std::string path = dir / "large.mpg";
    const std::int64_t length = (std::int64_t{5} << 30) + 7;  // sparse, so it takes no room
    {
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, length), 0);
        ::close(fd);
    }
    FileStatus status;
    ASSERT_TRUE(GetFileStatus(path, &status));
    EXPECT_EQ(status.size, length);
}

TEST(GetFileStatus, AnyExistingEntryCounts)
{
    const TempDir dir;
    FileStatus status;
    EXPECT_TRUE(GetFileStatus(dir.Path(), &status));
    EXPECT_TRUE(GetFileStatus("/dev/null", &status));
}

TEST(GetFileStatus, MissingPathsAndUrlsFail)
{
    const TempDir dir;
    FileStatus status{42, 43};
    EXPECT_FALSE(GetFileStatus(dir / "missing.mpg", &status));
    EXPECT_FALSE(GetFileStatus("", &status));
    EXPECT_FALSE(GetFileStatus("http://example.com/clip.mpg", &status));
    EXPECT_EQ(status.size, 42);
    EXPECT_EQ(status.mtime, 43);
}

TEST(GetFileStatus, AUrlFailsEvenWhereTheSameTextNamesALocalEntry)
{
    // "http://host" resolves to the directory http:/host below the working directory.
    const TempDir dir;
    std::filesystem::create_directories(dir / "http:/host");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    FileStatus status;
    const bool urlFound = GetFileStatus("http://host", &status);
    const bool pathFound = GetFileStatus("http:/host", &status);
    std::filesystem::current_path(saved);
    EXPECT_FALSE(urlFound);
    EXPECT_TRUE(pathFound);
}

}  // namespace
