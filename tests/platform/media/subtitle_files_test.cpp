// Which subtitle file beside a medium goes with it.

#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/media/subtitle_files.h"
#include "support/temp_dir.h"

namespace {

using platform::gst::PickSubtitleFile;
using platform::gst::SubtitleUriFor;

TEST(SubtitleFiles, TheSameNameWinsThenALanguageAndTheExtensionsInTheirOrder)
{
    const std::vector<std::string> folder{"film.mp4", "film.vtt", "film.de.srt", "film.ASS", "other.srt"};
    EXPECT_EQ(PickSubtitleFile("film.mp4", folder), "film.ASS");
    EXPECT_EQ(PickSubtitleFile("film.mp4", {"film.vtt", "film.sub", "film.srt"}), "film.srt");
    EXPECT_EQ(PickSubtitleFile("film.mp4", {"film.fr.srt", "film.de.ass", "film.de.srt"}), "film.de.srt");
    EXPECT_EQ(PickSubtitleFile("film.mp4", {"film.de.srt", "film.srt"}), "film.srt");
    // Names that only look alike, and files of other kinds.
    EXPECT_EQ(PickSubtitleFile("film.mp4", {"film2.srt", "film.srt.txt", "film..srt", "filmsrt", "film.idx",
                                            "other.srt", "film.a.b.srt"}),
              std::nullopt);
    // A medium without an extension, and one with dots in its name.
    EXPECT_EQ(PickSubtitleFile("film", {"film.srt"}), "film.srt");
    EXPECT_EQ(PickSubtitleFile("my.film.2024.mkv", {"my.film.srt", "my.film.2024.en.vtt"}), "my.film.2024.en.vtt");
    // A subtitle file opened as the medium takes no other.
    EXPECT_EQ(PickSubtitleFile("film.srt", {"film.srt"}), std::nullopt);
}

TEST(SubtitleFiles, OnlyALocalRegularFileBesideTheMediumIsTaken)
{
    TempDir folder;
    std::ofstream(folder / "film.mkv") << "medium";
    EXPECT_EQ(SubtitleUriFor("file://" + (folder / "film.mkv")), std::nullopt);
    std::ofstream(folder / "film.srt") << "1\n";
    EXPECT_EQ(SubtitleUriFor("file://" + (folder / "film.mkv")), "file://" + (folder / "film.srt"));
    EXPECT_EQ(SubtitleUriFor("file://otherhost" + (folder / "film.mkv")), std::nullopt);
    EXPECT_EQ(SubtitleUriFor("http://example.com" + (folder / "film.mkv")), std::nullopt);

    // A pipe would hold the open until someone writes to it.
    std::remove((folder / "film.srt").c_str());
    ASSERT_EQ(::mkfifo((folder / "film.srt").c_str(), 0600), 0);
    EXPECT_EQ(SubtitleUriFor("file://" + (folder / "film.mkv")), std::nullopt);
}

}  // namespace
