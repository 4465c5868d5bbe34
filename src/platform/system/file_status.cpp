#include "platform/system/file_status.h"

#include <sys/stat.h>

#include "platform/system/url.h"

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
