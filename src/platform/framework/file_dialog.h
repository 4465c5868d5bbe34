#pragma once
// The file-open chooser: the toolkit's own (non-native) file dialog, modal to its
// owner. It starts with an empty file name, offers the filters with the one at
// `filterIndex` selected, matches their patterns whatever the case, completes a
// name typed without an extension with `defaultExtension`, and returns the chosen
// file's absolute path, however long.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/system/file_patterns.h"

class CWnd;

struct OpenFileRequest {
    CWnd* owner = nullptr;
    std::vector<std::pair<std::string, std::string>> filters;  // description, "*.mpg; *.mpeg; ..."
    int filterIndex = 1;                                       // 1-based
    std::string defaultExtension;                              // without the dot
    bool fileMustExist = true;
};

// True when the user chose a file; `path` then holds it. False, with `path`
// untouched, when the chooser was cancelled.
bool GetOpenFileName(const OpenFileRequest& request, std::string* path);

namespace platform {
// While set, GetOpenFileName hands the request to the hook instead of showing the
// chooser. An empty function restores the real chooser.
using OpenFileHook = std::function<bool(const OpenFileRequest&, std::string*)>;
void SetOpenFileHook(OpenFileHook hook);
}  // namespace platform
