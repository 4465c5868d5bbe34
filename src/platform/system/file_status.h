#pragma once
// What the label needs to know of an opened file: its length and when it was last written.

#include <cstdint>
#include <string>

struct FileStatus {
    std::int64_t size = 0;   // bytes
    std::int64_t mtime = 0;  // last write, seconds since 1970 (UTC)
};

// True when `path` names an existing file-system entry. URLs (scheme://...) never do.
bool GetFileStatus(const std::string& path, FileStatus* status);
