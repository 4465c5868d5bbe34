#include "platform/system/regular_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>

namespace {

constexpr std::string_view kNewMark = ".new-";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kRandomChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomPart()
{
    static thread_local std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<std::size_t> pick(0, kRandomChars.size() - 1);
    std::string part(kRandomLength, ' ');
    for (char& c : part)
        c = kRandomChars[pick(random)];
    return part;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

RegularFileText ReadRegularFile(const std::string& path, std::size_t limit)
{
    // Looked at before it is opened: opening a pipe or a device can block or act.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {errno == ENOENT || errno == ENOTDIR ? FileKind::Missing : FileKind::Other, {}};
    if (!S_ISREG(info.st_mode))
        return {FileKind::Other, {}};
    // Non-blocking and checked once more, in case something else took its place meanwhile.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0)
        return {errno == ENOENT ? FileKind::Missing : FileKind::Other, {}};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > limit)
        return {FileKind::Other, {}};
    RegularFileText result{FileKind::Regular, {}};
    result.text.resize(static_cast<std::size_t>(info.st_size));
    std::size_t have = 0;
    for (;;) {
        if (have == result.text.size()) {
            // The file may have grown since fstat.
            if (have > limit)
                return {FileKind::Other, {}};
            result.text.resize(have + 4096);
        }
        const ssize_t got = ::read(file.Get(), result.text.data() + have, result.text.size() - have);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {FileKind::Other, {}};
        if (got == 0)
            break;
        have += static_cast<std::size_t>(got);
    }
    result.text.resize(have);
    return result;
}

std::optional<std::string> ReplaceableTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::optional(path) : std::nullopt;
    if (S_ISREG(info.st_mode))
        return path;
    if (!S_ISLNK(info.st_mode))
        return std::nullopt;
    char* const resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return std::nullopt;
    std::string target(resolved);
    std::free(resolved);
    if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return target;
}

bool ReplaceFile(const std::string& target, std::string_view text)
{
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    std::string fresh;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        fresh = target + std::string(kNewMark) + RandomPart();
        fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool written = WriteAll(fd, text);
    if (existed)
        (void)::fchmod(fd, old.st_mode & 07777);  // best effort: a file of another owner keeps ours
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(fresh.c_str(), target.c_str()) != 0) {
        ::unlink(fresh.c_str());
        return false;
    }
    // The rename itself outlives a power cut only once the folder is on the disk.
    const Descriptor folder(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        (void)::fsync(folder.Get());
    return true;
}

void RemoveStaleNewFiles(const std::string& target)
{
    DIR* const folder = ::opendir(DirectoryOf(target).c_str());
    if (folder == nullptr)
        return;
    const std::string prefix = NameOf(target) + std::string(kNewMark);
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name.size() != prefix.size() + kRandomLength || !name.starts_with(prefix) ||
            name.substr(prefix.size()).find_first_not_of(kRandomChars) != std::string_view::npos)
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}
