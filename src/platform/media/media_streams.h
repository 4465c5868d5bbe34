#pragma once
// The audio and subtitle streams of a medium, as plain facts, and which of them
// plays first.

#include <string>
#include <vector>

namespace platform::gst {

enum class StreamKind { Audio, Subtitles };

struct StreamFacts {
    bool flaggedDefault = false;  // the medium marks it as the one to play
    bool external = false;        // a subtitle file beside the medium
    std::string language;         // as the medium gives it ("en", "deu"), or empty
    std::string title;
};

// Whether `candidate`, as its stream starts, becomes the one to play first in place
// of `chosen` (null: none chosen yet, the medium's first plays). An external
// subtitle file wins over the medium's own; else the first the medium marks as
// default.
bool PlaysFirst(const StreamFacts& candidate, const StreamFacts* chosen);

// "de", "Commentary", "Commentary (en)"; empty when the medium says nothing.
std::string StreamName(const StreamFacts& stream);

}  // namespace platform::gst
