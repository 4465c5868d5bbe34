#pragma once
// How a path or URL the user gave becomes the URI a pipeline opens.

#include <optional>
#include <string>

namespace platform::gst {

// "scheme://..." is taken as it is; anything else is a local path, made
// absolute. Nothing for an empty text, a URL that names no place, or a file URL
// that names another machine than this one.
std::optional<std::string> MediaUri(const std::string& pathOrUrl);

// True when a file:// URI names nothing that can be read to its end: a missing
// file, a folder, a pipe, a socket or a device. A pipe's opening waits for a
// writer, so this has to be known before any pipeline touches it. False for
// every other scheme.
bool IsUnreadableLocalFile(const std::string& uri);

}  // namespace platform::gst
