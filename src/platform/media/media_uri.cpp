#include "platform/media/media_uri.h"

#include <sys/stat.h>

#include <gst/gst.h>

#include "platform/media/gst_handles.h"

namespace platform::gst {

std::optional<std::string> MediaUri(const std::string& pathOrUrl)
{
    if (pathOrUrl.empty())
        return std::nullopt;
    CharPtr scheme(g_uri_parse_scheme(pathOrUrl.c_str()));
    if (scheme && pathOrUrl.compare(std::char_traits<char>::length(scheme.get()), 3, "://") == 0) {
        // Only a file URL may leave out the host ("http://" alone names nothing), and a
        // file URL naming another machine is no file here: GStreamer would open the local
        // path of the same name.
        const UriPtr uri(gst_uri_from_string(pathOrUrl.c_str()));
        const gchar* host = uri ? gst_uri_get_host(uri.get()) : nullptr;
        const bool hasHost = host && *host;
        if (!uri)
            return std::nullopt;
        if (g_ascii_strcasecmp(scheme.get(), "file") == 0) {
            if (hasHost && g_ascii_strcasecmp(host, "localhost") != 0)
                return std::nullopt;
        } else if (!hasHost) {
            return std::nullopt;
        }
        return pathOrUrl;
    }
    CharPtr uri(gst_filename_to_uri(pathOrUrl.c_str(), nullptr));
    if (!uri)
        return std::nullopt;
    return std::string(uri.get());
}

bool IsUnreadableLocalFile(const std::string& uri)
{
    const CharPtr scheme(g_uri_parse_scheme(uri.c_str()));
    if (!scheme || g_ascii_strcasecmp(scheme.get(), "file") != 0)
        return false;
    const CharPtr path(g_filename_from_uri(uri.c_str(), nullptr, nullptr));
    struct stat status {};
    return !path || stat(path.get(), &status) != 0 || !S_ISREG(status.st_mode);
}

}  // namespace platform::gst
