#include "platform/gst/media_uri.h"

#include <gst/gst.h>

#include "platform/gst/gst_handles.h"

namespace platform::gst {

std::optional<std::string> MediaUri(const std::string& pathOrUrl)
{
    if (pathOrUrl.empty())
        return std::nullopt;
    CharPtr scheme(g_uri_parse_scheme(pathOrUrl.c_str()));
    if (scheme && pathOrUrl.compare(std::char_traits<char>::length(scheme.get()), 3, "://") == 0) {
        // Only a file URL may leave out the host ("http://" alone names nothing).
        const UriPtr uri(gst_uri_from_string(pathOrUrl.c_str()));
        const gchar* host = uri ? gst_uri_get_host(uri.get()) : nullptr;
        if (!uri || ((!host || !*host) && g_ascii_strcasecmp(scheme.get(), "file") != 0))
            return std::nullopt;
        return pathOrUrl;
    }
    CharPtr uri(gst_filename_to_uri(pathOrUrl.c_str(), nullptr));
    if (!uri)
        return std::nullopt;
    return std::string(uri.get());
}

}  // namespace platform::gst
