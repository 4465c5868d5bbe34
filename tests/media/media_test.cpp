#include <sys/stat.h>

#include <cctype>
#include <regex>
#include <string>

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

// What GStreamer's own discoverer makes of a file.
Discovered Discover(const std::string& path) {
  const harness::Output run =
      harness::Capture({.argv = {"gst-discoverer-1.0", path}}, milliseconds(60000));
  EXPECT_EQ(run.status.code, 0) << "gst-discoverer-1.0 " << path;
  const std::string& out = run.out;
  Discovered d;
  std::smatch m;
  if (out.find("An error was encountered") != std::string::npos) return d;
  d.found = true;
  if (std::regex_search(out, m, std::regex(R"(Duration: (\d+):(\d+):(\d+\.\d+))")))
    d.seconds = std::stoi(m[1]) * 3600.0 + std::stoi(m[2]) * 60.0 + std::stod(m[3]);
  if (std::regex_search(out, m, std::regex(R"(Width: (\d+))"))) d.width = std::stoi(m[1]);
  if (std::regex_search(out, m, std::regex(R"(Height: (\d+))"))) d.height = std::stoi(m[1]);
  if (std::regex_search(out, m, std::regex(R"(Pixel aspect ratio: (\d+)/(\d+))"))) {
    d.parNumerator = std::stoi(m[1]);
    d.parDenominator = std::stoi(m[2]);
  }
  d.audio = std::regex_search(out, std::regex(R"(\baudio #\d+:)"));
  return d;
}

class GeneratedMedium : public testing::TestWithParam<Medium> {};

TEST_P(GeneratedMedium, IsWhatTheTestsExpect) {
  const Medium& medium = GetParam();
  const std::string path = MediaPath(medium.name);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0) << path;
  if (medium.bytes >= 0) {
    EXPECT_EQ(info.st_size, medium.bytes);
  }

  const Discovered d = Discover(path);
  ASSERT_EQ(d.found, medium.plays);
  if (!medium.plays) return;
  EXPECT_NEAR(d.seconds, medium.seconds, test_media::kSecondsTolerance);
  EXPECT_EQ(d.width, medium.width);
  EXPECT_EQ(d.height, medium.height);
  EXPECT_EQ(d.width * d.parNumerator / d.parDenominator, medium.squareWidth);
  EXPECT_EQ(d.audio, medium.audio);
}

INSTANTIATE_TEST_SUITE_P(Media, GeneratedMedium, testing::ValuesIn(test_media::kAll),
                         [](const testing::TestParamInfo<Medium>& param) {
                           std::string name = param.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(GeneratedMedium, NameWithSpaceIsACopyOfClipAvi) {
  const harness::Output cmp = harness::Capture(
      {.argv = {"cmp", MediaPath("clip.avi"), MediaPath("name with space.avi")}});
  EXPECT_EQ(cmp.status.code, 0);
}

TEST(GeneratedMedium, TruncatedMpgIsTheStartOfClipMpg) {
  const harness::Output cmp = harness::Capture(
      {.argv = {"cmp", "-n", "20480", MediaPath("clip.mpg"), MediaPath("truncated.mpg")}});
  EXPECT_EQ(cmp.status.code, 0);
}

}  // namespace
