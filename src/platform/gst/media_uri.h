#pragma once
// How a path or URL the user gave becomes the URI a pipeline opens.

#include <optional>
#include <string>

namespace platform::gst {

// "scheme://..." is taken as it is; anything else is a local path, made
// absolute. Nothing for an empty text or a URL that names no place.
std::optional<std::string> MediaUri(const std::string& pathOrUrl);

}  // namespace platform::gst
