#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/process.h"
#include "support/test_media.h"

namespace {

using harness::milliseconds;
using test_media::Medium;

struct Discovered {
    bool found = false;
    double seconds = 0;
    int width = 0;
    int height = 0;
    int parNumerator = 1;
    int parDenominator = 1;
    bool audio = false;
};

// What GStreamer's own discoverer says of a file; `verbose` adds every stream's tags.
std::string DiscovererReport(const std::string& path, bool verbose = false)
{
    std::vector<std::string> argv{"gst-discoverer-1.0", path};
    if (verbose)
        argv.insert(argv.begin() + 1, "-v");
    const harness::Output run = harness::Capture({.argv = argv}, milliseconds(60000));
    EXPECT_EQ(run.status.code, 0) << "gst-discoverer-1.0 " << path;
    return run.out;
}

// What GStreamer's own discoverer makes of a file.
Discovered Discover(const std::string& path)
{
    const std::string out = DiscovererReport(path);
    Discovered d;
    std::smatch m;
    if (out.find("An error was encountered") != std::string::npos)
        return d;
    d.found = true;
    if (std::regex_search(out, m, std::regex(R"(Duration: (\d+):(\d+):(\d+\.\d+))")))
        d.seconds = std::stoi(m[1]) * 3600.0 + std::stoi(m[2]) * 60.0 + std::stod(m[3]);
    if (std::regex_search(out, m, std::regex(R"(Width: (\d+))")))
        d.width = std::stoi(m[1]);
    if (std::regex_search(out, m, std::regex(R"(Height: (\d+))")))
        d.height = std::stoi(m[1]);
    if (std::regex_search(out, m, std::regex(R"(Pixel aspect ratio: (\d+)/(\d+))"))) {
        d.parNumerator = std::stoi(m[1]);
        d.parDenominator = std::stoi(m[2]);
    }
    d.audio = std::regex_search(out, std::regex(R"(\baudio #\d+:)"));
    return d;
}

class GeneratedMedium : public testing::TestWithParam<Medium> {};

TEST_P(GeneratedMedium, IsWhatTheTestsExpect)
{
    const Medium& medium = GetParam();
    const std::string path = MediaPath(medium.name);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0) << path;
    if (medium.bytes >= 0) {
        EXPECT_EQ(info.st_size, medium.bytes);
    }

    const Discovered d = Discover(path);
    ASSERT_EQ(d.found, medium.plays);
    if (!medium.plays)
        return;
    EXPECT_NEAR(d.seconds, medium.seconds, test_media::kSecondsTolerance);
    EXPECT_EQ(d.width, medium.width);
    EXPECT_EQ(d.height, medium.height);
    EXPECT_EQ(d.width * d.parNumerator / d.parDenominator, medium.squareWidth);
    EXPECT_EQ(d.audio, medium.audio);
}

std::string TestName(const testing::TestParamInfo<Medium>& param)
{
    std::string name = param.param.name;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Media, GeneratedMedium, testing::ValuesIn(test_media::kAll), TestName);
INSTANTIATE_TEST_SUITE_P(Found, GeneratedMedium, testing::Values(test_media::kTypefoundNoiseAvi), TestName);
INSTANTIATE_TEST_SUITE_P(ShownOtherwise, GeneratedMedium, testing::ValuesIn(test_media::kShownOtherwise), TestName);

TEST(GeneratedMedium, NameWithSpaceIsACopyOfClipAvi)
{
    const harness::Output cmp = harness::Capture({
        .argv = {"cmp", MediaPath("clip.avi"), MediaPath("name with space.avi")}
    });
    EXPECT_EQ(cmp.status.code, 0);
}

TEST(GeneratedMedium, TruncatedMpgIsTheStartOfClipMpg)
{
    const harness::Output cmp = harness::Capture({
        .argv = {"cmp", "-n", "20480", MediaPath("clip.mpg"), MediaPath("truncated.mpg")}
    });
    EXPECT_EQ(cmp.status.code, 0);
}

// The report's lines, without their indentation. Verbose reports carry codec headers in hex, too
// long to search whole with std::regex.
std::vector<std::string> Lines(const std::string& report)
{
    std::vector<std::string> lines;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(std::min(line.find_first_not_of(' '), line.size())));
    }
    return lines;
}

int CountLines(const std::string& report, const std::regex& pattern)
{
    int count = 0;
    for (const std::string& line : Lines(report))
        count += std::regex_search(line, pattern);
    return count;
}

// A line that `pattern` matches whole.
bool HasLine(const std::string& report, const std::string& pattern)
{
    return CountLines(report, std::regex("^" + pattern + "$")) > 0;
}

// GStreamer's type finder passes over a subtitle file shorter than 129 bytes.
TEST(GeneratedMedium, SubtitleFilesAreTakenForSubtitles)
{
    for (const char* name : {test_media::kSidecarSrt, test_media::kSidecarEmbeddedSrt}) {
        EXPECT_EQ(CountLines(DiscovererReport(MediaPath(name)), std::regex(R"(^subtitles #\d+:)")), 1) << name;
    }
}

TEST(GeneratedMedium, SubtitledMediaCarryTheirTracks)
{
    const auto tracks = [](const Medium& medium) {
        return CountLines(DiscovererReport(MediaPath(medium.name)), std::regex(R"(^subtitles #\d+:)"));
    };
    EXPECT_EQ(tracks(test_media::kSubtitledMkv), 2);
    EXPECT_EQ(tracks(test_media::kSubtitledMp4), 1);
    EXPECT_EQ(tracks(test_media::kSidecarEmbeddedMkv), 1);
    EXPECT_EQ(tracks(test_media::kSidecarMkv), 0);
    EXPECT_EQ(tracks(test_media::kStyledMkv), 1);
}

TEST(GeneratedMedium, TwoAudioTracksAreInTheirLanguagesInOrder)
{
    std::vector<std::string> languages;
    for (const std::string& line : Lines(DiscovererReport(MediaPath(test_media::kTwoAudioMkv.name)))) {
        if (line.rfind("Language: ", 0) == 0)
            languages.push_back(line.substr(10));
    }
    std::vector<std::string> expected;
    for (const test_media::Tone& tone : test_media::kTwoAudioTracks) {
        expected.push_back(tone.language);
    }
    EXPECT_EQ(languages, expected);
}

TEST(GeneratedMedium, RotatedMp4IsMarkedAsTurned)
{
    EXPECT_TRUE(
        HasLine(DiscovererReport(MediaPath(test_media::kRotatedMp4.name), true), "image orientation: rotate-90"));
}

TEST(GeneratedMedium, SongsCarryTheirTagsAndCovers)
{
    struct Song {
        Medium medium;
        bool tagged;        // title, artist and album
        std::string cover;  // the discoverer's words for it; empty for none
    };
    const Song songs[] = {
        {test_media::kPlainMp3,       false, ""                                                       },
        {test_media::kCoverMp3,       true,  R"(image: buffer of \d+ bytes, type: image/png)"         },
        {test_media::kBrokenCoverMp3, true,  R"(image: buffer of \d+ bytes, type: image/jpeg)"        },
        {test_media::kHugeCoverMp3,   true,
         "image: buffer of " + std::to_string(test_media::kHugeCoverBytes) + " bytes, type: image/png"},
        {test_media::kCoverFlac,      false, R"(image: buffer of \d+ bytes, type: image/png)"         },
    };
    for (const Song& song : songs) {
        SCOPED_TRACE(song.medium.name);
        const std::string report = DiscovererReport(MediaPath(song.medium.name), true);
        EXPECT_EQ(HasLine(report, std::string("title: ") + test_media::kSongTitle), song.tagged);
        EXPECT_EQ(HasLine(report, std::string("artist: ") + test_media::kSongArtist), song.tagged);
        EXPECT_EQ(HasLine(report, std::string("album: ") + test_media::kSongAlbum), song.tagged);
        EXPECT_EQ(CountLines(report, std::regex("^image: ")) > 0, !song.cover.empty());
        if (!song.cover.empty()) {
            EXPECT_TRUE(HasLine(report, song.cover));
        }
    }
}

}  // namespace
