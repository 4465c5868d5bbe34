#pragma once
// The medium's own time line: 0 at its start, its length at its end. GStreamer's
// demuxers of MPEG program and transport streams count from the stream's clock
// instead, so their first picture can come half a second or more after 0, and
// the last one ends past the length they report.

#include <algorithm>
#include <optional>

namespace platform::gst {

struct MediumTimeline {
    // Where the medium starts on the demuxers' time line, in seconds.
    double origin = 0.0;

    // A place on the demuxers' time line as a place in the medium; never past
    // the length, where the length is known.
    double FromStream(double streamSeconds, std::optional<double> length) const
    {
        const double seconds = std::max(0.0, streamSeconds - origin);
        return length ? std::min(seconds, std::max(0.0, *length)) : seconds;
    }

    double ToStream(double mediumSeconds) const { return origin + std::max(0.0, mediumSeconds); }
};

}  // namespace platform::gst
