#pragma once
// The texts of the label panel, built from plain values.

#include <cstdint>
#include <optional>
#include <string>

// "1,206KB (1,234,567 byte)": the size rounded up to whole KB, then the exact length.
std::string SizeText(std::int64_t bytes);

// "Stopped", "Paused" or "Playing" for those PlayStates; empty for any other value.
std::string StatusWord(int state);

// "Playing: 12/95  Volume: 5/10    ". Seconds are truncated toward zero; a value
// that has no 32-bit truncation (NaN, infinite, too large) shows as 0.
std::string StatusLine(const std::string& word, double position, double duration, int volume);

// The part of a local path after its last '/'; a URL (scheme://...) whole.
std::string FileNameFromPath(const std::string& path);

std::string VideoSizeLine(int width, int height);  // "Video size: 320 x 240"
std::string TimeLine(double duration);             // "Time: 95.480000(sec)"

// Green level of the splash text for tick 0..63: fade in, hold, fade out.
int SplashGreen(int tick);

// Where the progress bar's played part ends, for a panel `width` pixels wide: the bar
// runs from x = 5 to width - 5. A duration that gives no finite quotient puts it at 5.
int ProgressSplit(double position, double duration, int width);

// Whether a point of a panel `width` pixels wide lies on its progress bar: from x = 5 to
// width - 5, and from the panel's top edge to the bar's last row (11), which is easier to hit
// than the bar's 8 rows alone.
bool IsOnProgressBar(int x, int y, int width);

// The fraction of the length that the bar's column `x` stands for, 0 at its left end and 1
// at its right end; nothing for a panel too narrow to show a bar.
std::optional<double> ProgressFractionAt(int x, int width);
