#pragma once
// The subtitle file that goes with a local medium: a file beside it with the
// same name and a subtitle extension, as other players find them.

#include <optional>
#include <string>
#include <vector>

namespace platform::gst {

// Of `siblings` (names in the medium's folder), the one to show with the medium
// named `mediumName`. "film.mp4" takes "film.srt", "film.ass", "film.ssa",
// "film.vtt" or "film.sub", in that order, before "film.LANG.EXT" (any LANG
// without a dot), and of those the first by LANG. Extensions match in any case.
std::optional<std::string> PickSubtitleFile(const std::string& mediumName, const std::vector<std::string>& siblings);

// The URI of the subtitle file beside the medium at `mediumUri`, when it is a
// local file and such a regular file exists; nothing otherwise.
std::optional<std::string> SubtitleUriFor(const std::string& mediumUri);

}  // namespace platform::gst
