#include "platform/media/seek_progress.h"

namespace platform::gst {

namespace {

// A step smaller than this is no step: positions are read in whole nanoseconds
// and a medium's shortest picture lasts milliseconds.
constexpr double kLeastStepSeconds = 1e-3;

}  // namespace

bool EndedWithoutProgress(const SeekMark& mark, std::uint64_t sequence, std::uint64_t pictures,
                          std::optional<double> position, std::optional<double> length)
{
    if (sequence < mark.queuedEvents || pictures != mark.pictures)
        return false;
    if (length && mark.target > 0 && mark.target >= *length - kLeastStepSeconds)
        return false;
    return !position || *position < mark.target + kLeastStepSeconds;
}

}  // namespace platform::gst
