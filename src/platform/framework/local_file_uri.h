#pragma once
// What a launcher hands over as a file:// URI, taken as the local path it names.

#include <string>

namespace platform {

// The path of a "file://" URI on this machine (no host or "localhost"), its
// escapes decoded to the path's bytes whatever their encoding ("%20" a blank,
// "%E9" the byte 0xE9). Any other text, and a URI that names no local path,
// comes back unchanged.
std::string LocalPathFromFileUri(const std::string& text);

}  // namespace platform
