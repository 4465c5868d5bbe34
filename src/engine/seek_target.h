#pragma once
// Where a step through the medium lands, and which stream a key moves to.

#include <optional>

// `position` moved by `step` seconds, clamped to 0 and `length` (past the end is
// the end, which plays out as the end of the stream). Nothing when the medium has
// no length to move in (a live stream) or a value is not a number.
std::optional<double> SeekStepTarget(double position, double step, double length);

// The point `fraction` (0..1, clamped) of the way through a medium of `length`;
// nothing without a length.
std::optional<double> SeekFractionTarget(double fraction, double length);

// The subtitle stream after `shown` (-1: none shown) of `count`: the next one,
// none after the last, the first after none. -1 when there are none.
int NextSubtitleStream(int shown, int count);

// The sound stream after `playing` of `count`, round to the first; -1 when there are none.
int NextAudioStream(int playing, int count);
