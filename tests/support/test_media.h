#pragma once
// The media that the build makes for the tests (cmake/Media.cmake), and what GStreamer reports
// about each: lengths as its demuxers give them, picture sizes as stored.

#include <array>
#include <ostream>
#include <string>

namespace test_media {

struct Medium {
    const char* name;
    bool plays;      // GStreamer finds a stream in it
    double seconds;  // reported length
    int width;       // stored picture size; 0 when there is no picture
    int height;
    int squareWidth;  // picture width in square pixels (pixel aspect ratio applied)
    bool audio;
    long long bytes = -1;  // exact size where the recipe fixes it
};

inline constexpr double kFrameRate = 30.0;
// Different ways of asking (a duration query, the position at the end) may differ by a frame.
inline constexpr double kSecondsTolerance = 0.05;

inline constexpr Medium kClipMpg{"clip.mpg", true, 2.0, 320, 240, 320, true};  // MPEG-2 + MP2
inline constexpr Medium kClipAvi{"clip.avi", true, 2.0, 320, 240, 320, true};  // MJPEG + PCM
inline constexpr Medium kClipMov{"clip.mov", true, 2.0, 352, 288, 352, true};  // H.264 + AAC
inline constexpr Medium kAudioOgg{"audio.ogg", true, 2.0, 0, 0, 0, true};      // Vorbis
inline constexpr Medium kVideoOnlyAvi{"video_only.avi", true, 2.0, 320, 240, 320, false};
inline constexpr Medium kOneFrameAvi{"one_frame.avi", true, 1.0 / kFrameRate, 320, 240, 320, false};
// H.264 + Vorbis, 16:15 pixels.
inline constexpr Medium kAnamorphicMkv{"anamorphic.mkv", true, 2.0, 720, 576, 768, true};
// MPEG-1 and MPEG-2 program streams and a transport stream (H.264 + AAC) whose first picture
// comes 0.5 s (the program streams) or 1/8 s after their clock starts.
inline constexpr Medium kLateStartMpeg1{"late_start_mpeg1.mpg", true, 2.0, 320, 240, 320, true};
inline constexpr Medium kLateStartMpeg2{"late_start_mpeg2.mpg", true, 2.0, 320, 240, 320, true};
inline constexpr Medium kLateStartTs{"late_start.ts", true, 2.0, 320, 240, 320, true};
// The first 20 KiB of clip.mpg: its first three pictures' worth.
inline constexpr Medium kTruncatedMpg{"truncated.mpg", true, 0.1, 320, 240, 320, true, 20480};
// The first half of clip.mov, without the index at its end.
inline constexpr Medium kTruncatedMov{"truncated.mov", false, 0, 0, 0, 0, false};
inline constexpr Medium kRandomAvi{"random.avi", false, 0, 0, 0, 0, false, 65536};
// Taken for raw H.263 by its first bytes; no picture decodes.
inline constexpr Medium kFakeH263Avi{"fake_h263.avi", false, 0, 0, 0, 0, false, 65536};
inline constexpr Medium kEmptyMpg{"empty.mpg", false, 0, 0, 0, 0, false, 0};
inline constexpr Medium kTextMov{"text.mov", false, 0, 0, 0, 0, false, 40};
// A copy of clip.avi.
inline constexpr Medium kNameWithSpaceAvi{"name with space.avi", true, 2.0, 320, 240, 320, true};

// Subtitles: the same cue every second over the whole length, a row of white full blocks on a
// solid blue picture (luma about 41, the blocks above 200), so that the light pixels tell which
// track shows. A cue that began before a seek is not shown again; the next one, at most a second
// later, is. Drawn by playbin on 320x240, a block lights about 54 pixels.
inline constexpr int kLongRowBlocks = 16;
inline constexpr int kShortRowBlocks = 4;
// H.264 + Vorbis, two subtitle tracks: the long row first, not flagged default, then the short
// row, flagged default.
inline constexpr Medium kSubtitledMkv{"subtitled.mkv", true, 4.0, 320, 240, 320, true};
inline constexpr std::array kSubtitledMkvTrackBlocks{kLongRowBlocks, kShortRowBlocks};
// H.264 with a mov_text track of the long row.
inline constexpr Medium kSubtitledMp4{"subtitled.mp4", true, 2.0, 320, 240, 320, false};
// H.264 without subtitles; sidecar.srt beside it has the long row.
inline constexpr Medium kSidecarMkv{"sidecar.mkv", true, 3.0, 320, 240, 320, false};
inline constexpr const char* kSidecarSrt = "sidecar.srt";
// H.264 with a subtitle track of two blocks; sidecar_embedded.srt beside it has the long row.
inline constexpr Medium kSidecarEmbeddedMkv{"sidecar_embedded.mkv", true, 3.0, 320, 240, 320, false};
inline constexpr const char* kSidecarEmbeddedSrt = "sidecar_embedded.srt";
inline constexpr int kEmbeddedRowBlocks = 2;
// H.264 with an ASS track: a white style, and a row that an override tag turns pure red. Drawn by
// libass the row is red, each block about 260 pixels on 320x240; drawn as plain text it is white,
// about 54 pixels a block.
inline constexpr Medium kStyledMkv{"styled.mkv", true, 3.0, 320, 240, 320, false};
inline constexpr int kStyledRowBlocks = 8;
inline constexpr unsigned kStyledRowRgb = 0xff0000;

// Colour bars and two Vorbis tracks of a steady sine, in file order; only the second is flagged
// default.
inline constexpr Medium kTwoAudioMkv{"two_audio.mkv", true, 6.0, 320, 240, 320, true};
struct Tone {
    const char* language;
    double hertz;
    double volume;  // peak, of full scale
};
inline constexpr std::array kTwoAudioTracks{
    Tone{"en", 440, 0.1},
    Tone{"de", 880, 0.5}
};

// Stored 320x240, left half red and right half blue, and marked as turned a quarter clockwise:
// shown upright it is 240x320, red above blue. The discoverer gives the stored size.
inline constexpr Medium kRotatedMp4{"rotated.mp4", true, 2.0, 320, 240, 320, false};
inline constexpr int kRotatedShownWidth = 240;
inline constexpr int kRotatedShownHeight = 320;

// Songs: 2 s of a 440 Hz sine, as MP3 (the length estimated from the bit rate) or FLAC. The tagged
// MP3s carry these in an ID3v2.3 tag; cover.flac has the cover only.
inline constexpr const char* kSongTitle = "Vantrel Test Song";
inline constexpr const char* kSongArtist = "Test Artist";
inline constexpr const char* kSongAlbum = "Test Album";
inline constexpr int kCoverWidth = 200;  // a solid orange PNG, the front cover
inline constexpr int kCoverHeight = 120;
inline constexpr unsigned kCoverRgb = 0xff8000;
inline constexpr Medium kPlainMp3{"plain.mp3", true, 2.04, 0, 0, 0, true};  // no tag at all
inline constexpr Medium kCoverMp3{"cover.mp3", true, 2.04, 0, 0, 0, true};
inline constexpr Medium kCoverFlac{"cover.flac", true, 2.0, 0, 0, 0, true};
// Its cover is a JPEG start marker and noise: GStreamer passes it on as image/jpeg, nothing
// decodes it.
inline constexpr Medium kBrokenCoverMp3{"broken_cover.mp3", true, 2.04, 0, 0, 0, true};
// Its cover is a PNG signature and 50 MiB of noise.
inline constexpr Medium kHugeCoverMp3{"huge_cover.mp3", true, 2.04, 0, 0, 0, true};
inline constexpr long long kHugeCoverBytes = 8 + (50LL << 20);

// Two chained Vorbis streams of 1.5 s each, titled "First" and "Second".
inline constexpr Medium kChainedOgg{"chained.ogg", true, 3.0, 0, 0, 0, true};
inline constexpr double kChainedLinkSeconds = 1.5;

// H.264 at 10 pictures a second with a key picture every second, and Vorbis: for seeking.
inline constexpr Medium kMinuteMkv{"minute.mkv", true, 60.0, 160, 120, 160, true};

inline constexpr std::array kAll{kClipMpg,        kClipAvi,          kClipMov,
                                 kAudioOgg,       kVideoOnlyAvi,     kOneFrameAvi,
                                 kAnamorphicMkv,  kLateStartMpeg1,   kLateStartMpeg2,
                                 kLateStartTs,    kTruncatedMpg,     kTruncatedMov,
                                 kRandomAvi,      kFakeH263Avi,      kEmptyMpg,
                                 kTextMov,        kNameWithSpaceAvi, kSubtitledMkv,
                                 kSubtitledMp4,   kSidecarMkv,       kSidecarEmbeddedMkv,
                                 kStyledMkv,      kTwoAudioMkv,      kPlainMp3,
                                 kBrokenCoverMp3, kHugeCoverMp3,     kChainedOgg,
                                 kMinuteMkv};

// Media that the player shows otherwise than GStreamer's discoverer describes them: a song with
// its cover as the picture, a turned picture upright. Their facts are the discoverer's.
inline constexpr std::array kShownOtherwise{kCoverMp3, kCoverFlac, kRotatedMp4};

// A sound stream without a sample: GStreamer finds the stream, the player has nothing to play.
inline constexpr Medium kNoSamplesWav{"no_samples.wav", true, 0, 0, 0, 0, true, 44};
// Random bytes that the type finder takes for raw H.263 (16CIF, 12:11 pixels): one picture of
// concealment decodes from it, and the stream ends. Kept as found, in tests/media/files.
inline constexpr Medium kTypefoundNoiseAvi{"h263-typefound-noise.avi", true, 0, 1408, 1152, 1536, false, 200000};

// Test output names a medium by its file.
inline void PrintTo(const Medium& medium, std::ostream* out)
{
    *out << medium.name;
}

}  // namespace test_media

inline std::string MediaPath(const char* name)
{
    return std::string(VANTREL_MEDIA_DIR) + "/" + name;
}
