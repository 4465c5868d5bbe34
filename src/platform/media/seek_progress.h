#pragma once
// Telling an end of stream that playing reached from one met at once after a
// seek: a medium that can no longer be read from the new place (a file cut
// short or overwritten while it played) ends again and again without a
// picture or a step forward, and a rewind on Repeat would loop on it for ever.

#include <cstdint>
#include <optional>

namespace platform::gst {

// Where a seek sent the stream, noted just before the seek was made.
struct SeekMark {
    double target = 0.0;             // seconds
    std::uint64_t queuedEvents = 0;  // events queued before the seek
    std::uint64_t pictures = 0;      // pictures decoded before the seek
};

// True for an end of stream queued as `sequence` after the seek of `mark`, when
// no picture has been decoded since and the position (nullopt when unknown) is
// not past the target. An end queued before the seek belongs to the play before,
// and a seek to the medium's end (`length`, when known) asked for the end it met.
bool EndedWithoutProgress(const SeekMark& mark, std::uint64_t sequence, std::uint64_t pictures,
                          std::optional<double> position, std::optional<double> length);

}  // namespace platform::gst
