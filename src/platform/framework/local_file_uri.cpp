#include "platform/framework/local_file_uri.h"

#include <QByteArray>
#include <QUrl>

namespace platform {

std::string LocalPathFromFileUri(const std::string& text)
{
    // A launcher always writes both slashes; "file:name" may well be a relative path.
    if (!QByteArray::fromStdString(text).toLower().startsWith("file://"))
        return text;
    const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(text), QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile())
        return text;
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return text;
    // QUrl's own decoding would go through UTF-8 and lose a name in any other encoding.
    const QByteArray escaped = url.path(QUrl::FullyEncoded).toLatin1();
    const QByteArray path = QByteArray::fromPercentEncoding(escaped);
    // An escaped NUL would cut the path short, an escaped '/' would reach into a folder.
    if (path.isEmpty() || path.contains('\0') || escaped.toUpper().contains("%2F"))
        return text;
    return path.toStdString();
}

}  // namespace platform
