#pragma once
// The media that the build makes for the tests (cmake/Media.cmake), and what GStreamer reports
// about each: lengths as its demuxers give them, picture sizes as stored.

#include <array>
#include <ostream>
#include <string>

namespace test_media {

struct Medium {
  const char* name;
  bool plays;            // GStreamer finds a stream in it
  double seconds;        // reported length
  int width;             // stored picture size; 0 when there is no picture
  int height;
  int squareWidth;       // picture width in square pixels (pixel aspect ratio applied)
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

inline constexpr std::array kAll{kClipMpg,        kClipAvi,        kClipMov,      kAudioOgg,
                                 kVideoOnlyAvi,   kOneFrameAvi,    kAnamorphicMkv, kLateStartMpeg1,
                                 kLateStartMpeg2, kLateStartTs,    kTruncatedMpg, kTruncatedMov,
                                 kRandomAvi,      kFakeH263Avi,    kEmptyMpg,     kTextMov,
                                 kNameWithSpaceAvi};

// A sound stream without a sample: GStreamer finds the stream, the player has nothing to play.
inline constexpr Medium kNoSamplesWav{"no_samples.wav", true, 0, 0, 0, 0, true, 44};

// Test output names a medium by its file.
inline void PrintTo(const Medium& medium, std::ostream* out) { *out << medium.name; }

}  // namespace test_media

inline std::string MediaPath(const char* name) {
  return std::string(VANTREL_MEDIA_DIR) + "/" + name;
}
