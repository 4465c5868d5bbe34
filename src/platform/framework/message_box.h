#pragma once
// Message boxes (AfxMessageBox in platform/dialog.h) and the hook through which
// tests answer them without a modal box.

#include <functional>
#include <string>

#include "platform/system/win_types.h"

class CWnd;

inline constexpr UINT MB_ICONQUESTION = 0x0020;
inline constexpr UINT MB_ICONWARNING = 0x0030;
inline constexpr UINT MB_ICONINFORMATION = 0x0040;

namespace platform {

struct MessageBoxCall {
    CWnd* owner;
    std::string text;
    std::string caption;
    UINT type;
};

// While set, AfxMessageBox hands its call to the hook and returns its answer
// instead of showing a box. An empty function restores the real box.
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace platform
