#include "platform/gdi/font_faces.h"

namespace platform {

QString InstalledFace(std::string_view requested)
{
    struct Substitute {
        std::string_view requested;
        const char* installed;
    };
    static constexpr Substitute kSubstitutes[] = {
        {"明朝",                 "IPAMincho" },
        {"ＭＳ 明朝",          "IPAMincho" },
        {"ＭＳ Ｐ明朝",       "IPAPMincho"},
        {"ＭＳ ゴシック",    "IPAGothic" },
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
    };
    for (const auto& s : kSubstitutes) {
        if (requested == s.requested)
            return QString::fromLatin1(s.installed);
    }
    return QString::fromUtf8(requested.data(), static_cast<qsizetype>(requested.size()));
}

}  // namespace platform
