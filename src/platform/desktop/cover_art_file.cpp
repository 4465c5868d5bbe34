#include "platform/desktop/cover_art_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <unistd.h>

namespace desktop {

namespace {

QString FolderForCovers()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    const QString folder = cache + QStringLiteral("/vantrel");
    return QDir().mkpath(folder) ? folder : QString();
}

QString ExtensionFor(const std::string& type)
{
    if (type == "image/png")
        return QStringLiteral("png");
    if (type == "image/jpeg" || type == "image/jpg")
        return QStringLiteral("jpg");
    if (type == "image/gif")
        return QStringLiteral("gif");
    if (type == "image/webp")
        return QStringLiteral("webp");
    return QStringLiteral("img");
}

}  // namespace

CoverArtFile::~CoverArtFile()
{
    Remove();
}

void CoverArtFile::Show(const std::shared_ptr<const std::vector<std::uint8_t>>& cover, const std::string& type)
{
    if (cover == m_cover)
        return;
    Remove();
    m_cover = cover;
    if (!cover || cover->empty())
        return;
    const QString folder = FolderForCovers();
    if (folder.isEmpty())
        return;
    // A new name for each cover, so that the desktop never shows one it read before.
    const QString path = QStringLiteral("%1/vantrel-cover-%2-%3.%4")
                             .arg(folder)
                             .arg(::getpid())
                             .arg(++m_written)
                             .arg(ExtensionFor(type));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const auto size = static_cast<qint64>(cover->size());
    if (file.write(reinterpret_cast<const char*>(cover->data()), size) != size || !file.commit())
        return;
    m_path = path;
}

QString CoverArtFile::Url() const
{
    if (m_path.isEmpty())
        return {};
    return QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded);
}

void CoverArtFile::Remove()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
}

}  // namespace desktop
