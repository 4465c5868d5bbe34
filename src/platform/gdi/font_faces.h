#pragma once
// Platform-private: the installed faces that serve the faces the program names.

#include <QString>

#include <string_view>

namespace platform {

// "明朝" is served by IPA Mincho, the dialogs' "ＭＳ Ｐゴシック" by IPA P Gothic; a
// face without a stand-in is asked for by its own name.
QString InstalledFace(std::string_view requested);

}  // namespace platform
