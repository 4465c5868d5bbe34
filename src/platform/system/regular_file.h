#pragma once
// Reading and replacing a file that has to be a regular one. Anything else at the path (a
// pipe, a device, a folder) is never opened, so nothing here can block on it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class FileKind { Missing, Regular, Other };

struct RegularFileText {
    FileKind kind = FileKind::Missing;
    std::string text;
};

// The text of the file at `path`, through symbolic links. Anything but a regular file, and a
// file larger than `limit` bytes, is Other and is not read.
RegularFileText ReadRegularFile(const std::string& path, std::size_t limit);

// Where new contents for `path` go: the path itself when a regular file or nothing is there;
// for a symbolic link the regular file it leads to, so that the link stays a link. None for
// anything else, a link to nothing included.
std::optional<std::string> ReplaceableTarget(const std::string& path);

// Puts `text` in place of `target` with one rename, keeping the file's permissions, so that a
// crash or kill leaves either the old file or the new one. The new text is first written
// beside the target, as "<name>.new-XXXXXX".
bool ReplaceFile(const std::string& target, std::string_view text);

// Removes what ReplaceFile left beside `target` when it was killed; only for a caller that
// knows no other replacement of the file is under way.
void RemoveStaleNewFiles(const std::string& target);
