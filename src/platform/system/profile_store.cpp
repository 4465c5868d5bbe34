#include "platform/system/profile_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <utility>

// QSettings writes through QSaveFile (a new file renamed over the old one) and
// re-reads the file before it writes, so a killed writer leaves the old or the new
// file, and each writer changes only the values it sets.

namespace {

QString FileName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString Key(const std::string& section, const std::string& entry)
{
    return QString::fromStdString(section) + u'/' + QString::fromStdString(entry);
}

// Only a plain decimal number that fits in 32 bits counts; anything else reads as missing.
std::optional<int> ParseValue(const QVariant& stored)
{
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    const QByteArray text = stored.toString().toUtf8();
    const char* const begin = text.constData();
    const char* const end = begin + text.size();
    std::int32_t value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

QString ValueText(int value)
{
    return QString::number(value);
}

// QSettings keeps what it parsed of a file for the whole process and reports damage
// only to the object that parsed it; the store remembers damaged files itself, so
// that the next write can replace them whoever read them first.
class DamagedFiles {
public:
    void Note(const QString& file)
    {
        const QMutexLocker lock(&m_mutex);
        m_files.insert(file);
    }
    void Forget(const QString& file)
    {
        const QMutexLocker lock(&m_mutex);
        m_files.remove(file);
    }
    bool Contains(const QString& file) const
    {
        const QMutexLocker lock(&m_mutex);
        return m_files.contains(file);
    }

private:
    mutable QMutex m_mutex;
    QSet<QString> m_files;
};

DamagedFiles& Damaged()
{
    static DamagedFiles files;
    return files;
}

// Writers of one settings directory take turns through an flock on the directory,
// which the kernel drops when its holder dies: a killed writer never holds up the next.
class DirectoryTurn {
public:
    explicit DirectoryTurn(const QString& directory)
        : m_fd(::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~DirectoryTurn()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DirectoryTurn(const DirectoryTurn&) = delete;
    DirectoryTurn& operator=(const DirectoryTurn&) = delete;

private:
    int m_fd;
};

// Parses every section, so that damage anywhere shows in status().
QSettings::Status ParseAll(const QString& file, const QSettings& settings)
{
    settings.allKeys();
    if (settings.status() == QSettings::FormatError)
        Damaged().Note(file);
    return settings.status();
}

// Of a damaged file only the values that still read as numbers are kept.
void KeepOnlyNumbers(QSettings& settings)
{
    QList<std::pair<QString, int>> kept;
    for (const QString& key : settings.allKeys()) {
        if (key.isEmpty())
            continue;
        if (const auto value = ParseValue(settings.value(key)))
            kept.append({key, *value});
    }
    settings.clear();
    for (const auto& [key, value] : kept)
        settings.setValue(key, ValueText(value));
}

// QSettings keeps a change that it could not save and would show it to later reads in
// this process; put the old value back, so that reads agree with the file.
void Unset(QSettings& settings, const QString& key, const QVariant& previous)
{
    if (previous.isValid())
        settings.setValue(key, previous);
    else
        settings.remove(key);
}

}  // namespace

ProfileStore::ProfileStore(std::string path) : m_path(std::move(path)) {}

ProfileStore::~ProfileStore() = default;

std::optional<int> ProfileStore::Read(const std::string& section, const std::string& entry) const
{
    const QString file = FileName(m_path);
    const QSettings settings(file, QSettings::IniFormat);
    ParseAll(file, settings);
    return ParseValue(settings.value(Key(section, entry)));
}

bool ProfileStore::Write(const std::string& section, const std::string& entry, int value)
{
    const QString file = FileName(m_path);
    const QString directory = QFileInfo(file).absolutePath();
    QDir().mkpath(directory);
    const DirectoryTurn turn(directory);
    // While this writer has the turn no other one holds QSettings' own lock file, so
    // one that is there was left by a killed writer. It may be empty, and QSettings
    // would wait half a minute before it took such a file for stale.
    QFile::remove(file + QStringLiteral(".lock"));

    for (int round = 0; round < 2; ++round) {
        QSettings settings(file, QSettings::IniFormat);
        const QSettings::Status found = ParseAll(file, settings);
        if (found == QSettings::AccessError)
            return false;
        if (Damaged().Contains(file))
            KeepOnlyNumbers(settings);
        const QString key = Key(section, entry);
        const QVariant previous = settings.value(key);
        settings.setValue(key, ValueText(value));
        settings.sync();
        if (found == QSettings::NoError) {
            const bool written = settings.status() == QSettings::NoError;
            if (written)
                Damaged().Forget(file);
            else
                Unset(settings, key, previous);
            return written;
        }
        // An object that found damage keeps reporting it and cannot tell whether its
        // write went through; the next round writes once more and can.
    }
    return false;
}

std::string ProfileStore::DefaultPath(const std::string& registryKey, const std::string& appName)
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG base directory rules say.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    const QString path = base + u'/' + QString::fromStdString(registryKey) + u'/' +
                         QString::fromStdString(appName) + QStringLiteral(".conf");
    return QFile::encodeName(QDir::cleanPath(path)).toStdString();
}
