#pragma once
// Whether a path-or-URL text is a URL. Header-only, so the pure rules can use it too.

#include <cctype>
#include <string_view>

// scheme://... where the scheme is a letter followed by letters, digits, '+', '-' or '.'.
inline bool IsUrl(std::string_view path)
{
    const auto colon = path.find("://");
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(path[0])))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}
