#include "platform/media/seek_progress.h"

namespace platform::gst {

namespace {

// A step smaller than this is no step: positions are read in whole nanoseconds
// and a medium's shortest picture lasts milliseconds.
constexpr double kLeastStepSeconds = 1e-3;

}  // namespace

bool EndedWithoutProgress(const SeekMark& mark, std::uint64_t sequence, std::uint64_t pictures,
                          std::optional<double> position)
{
    if (sequence < mark.queuedEvents || pictures != mark.pictures)
        return false;
    return !position || *position < mark.target + kLeastStepSeconds;
}

}  // namespace platform::gst
