#include "platform/file_status.h"

#include <sys/stat.h>

#include <cctype>

namespace {

// scheme://... where the scheme is a letter followed by letters, digits, '+', '-' or '.'.
bool IsUrl(const std::string& path)
{
    const auto colon = path.find("://");
    if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(path[0])))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

}  // namespace

bool GetFileStatus(const std::string& path, FileStatus* status)
{
    if (path.empty() || IsUrl(path))
        return false;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    status->size = static_cast<std::int64_t>(info.st_size);
    status->mtime = static_cast<std::int64_t>(info.st_mtime);
    return true;
}
