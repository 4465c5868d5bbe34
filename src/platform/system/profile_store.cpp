#include "platform/system/profile_store.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/system/profile_text.h"
#include "platform/system/regular_file.h"

namespace {

// Far beyond any settings file; a larger one is not read, and not replaced either.
constexpr std::size_t kLargestFile = std::size_t{64} << 20;
// How long a save waits for another one to finish before it gives up.
constexpr std::chrono::milliseconds kTurnPatience{2000};

// Staged values by file, for the whole process, so that every store of a file reads them.
// Never destroyed: the application object commits from its destructor, among the statics.
class StagedValues {
public:
    void Add(const std::string& path, ProfileValue value)
    {
        const std::lock_guard lock(m_mutex);
        std::vector<ProfileValue>& values = m_values[path];
        for (ProfileValue& staged : values) {
            if (SameProfileName(staged.section, value.section) && SameProfileName(staged.entry, value.entry)) {
                staged = std::move(value);
                return;
            }
        }
        values.push_back(std::move(value));
    }
    std::optional<int> Find(const std::string& path, const std::string& section, const std::string& entry) const
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_values.find(path);
        if (found == m_values.end())
            return std::nullopt;
        for (const ProfileValue& staged : found->second) {
            if (SameProfileName(staged.section, section) && SameProfileName(staged.entry, entry))
                return staged.value;
        }
        return std::nullopt;
    }
    bool Has(const std::string& path) const
    {
        const std::lock_guard lock(m_mutex);
        return m_values.contains(path);
    }
    std::vector<ProfileValue> Take(const std::string& path)
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_values.find(path);
        if (found == m_values.end())
            return {};
        std::vector<ProfileValue> values = std::move(found->second);
        m_values.erase(found);
        return values;
    }

private:
    mutable std::mutex m_mutex;
    std::unordered_map<std::string, std::vector<ProfileValue>> m_values;
};

StagedValues& Staged()
{
    static auto* const values = new StagedValues;
    return *values;
}

// Savers of one settings folder take turns through an flock on the folder, which the kernel
// drops when its holder dies. A saver that cannot have its turn within the patience gives up,
// so that a holder that never lets go (a stopped process) cannot hold up the program's end.
class SaverTurn {
public:
    explicit SaverTurn(const std::string& directory)
        : m_fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        // A folder that cannot be opened or locked (some network file systems) orders nothing.
        if (m_fd < 0)
            return;
        const auto deadline = std::chrono::steady_clock::now() + kTurnPatience;
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            if (error != EWOULDBLOCK)
                return;
            if (std::chrono::steady_clock::now() >= deadline) {
                m_taken = false;
                return;
            }
            ::usleep(10'000);
        }
    }
    ~SaverTurn()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SaverTurn(const SaverTurn&) = delete;
    SaverTurn& operator=(const SaverTurn&) = delete;
    bool Taken() const { return m_taken; }

private:
    int m_fd;
    bool m_taken = true;
};

std::string DirectoryOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The file is read afresh in the saver's turn, so that each run changes only what it set.
bool Save(const std::string& path, const std::vector<ProfileValue>& values)
{
    const std::string directory = DirectoryOf(path);
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        return false;
    const SaverTurn turn(directory);
    if (!turn.Taken())
        return false;
    const std::optional<std::string> target = ReplaceableTarget(path);
    if (!target)
        return false;
    RemoveStaleNewFiles(*target);
    const RegularFileText current = ReadRegularFile(*target, kLargestFile);
    if (current.kind == FileKind::Other)
        return false;
    return ReplaceFile(*target, MergeProfileText(current.text, values));
}

}  // namespace

ProfileStore::ProfileStore(std::string path) : m_path(std::move(path)) {}

ProfileStore::~ProfileStore() = default;

std::optional<int> ProfileStore::Read(const std::string& section, const std::string& entry) const
{
    if (const std::optional<int> staged = Staged().Find(m_path, section, entry))
        return staged;
    const RegularFileText file = ReadRegularFile(m_path, kLargestFile);
    if (file.kind != FileKind::Regular)
        return std::nullopt;
    return FindProfileValue(file.text, section, entry);
}

bool ProfileStore::Write(const std::string& section, const std::string& entry, int value)
{
    return Stage(section, entry, value) && Commit();
}

bool ProfileStore::Stage(const std::string& section, const std::string& entry, int value)
{
    if (!IsProfileName(section) || !IsProfileName(entry))
        return false;
    Staged().Add(m_path, {section, entry, value});
    return true;
}

bool ProfileStore::HasStaged() const
{
    return Staged().Has(m_path);
}

bool ProfileStore::Commit()
{
    const std::vector<ProfileValue> values = Staged().Take(m_path);
    return values.empty() || Save(m_path, values);
}

std::string ProfileStore::DefaultPath(const std::string& registryKey, const std::string& appName)
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG base directory rules say.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    const QString path = base + u'/' + QString::fromStdString(registryKey) + u'/' + QString::fromStdString(appName) +
                         QStringLiteral(".conf");
    return QFile::encodeName(QDir::cleanPath(path)).toStdString();
}
