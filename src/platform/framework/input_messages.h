#pragma once
// Platform-private: toolkit input to window messages.

#include "platform/system/win_types.h"

class QEvent;
class QWidget;
struct PlatformWindow;

namespace platform {
UINT VirtualKeyFromQt(int key);
// Sends the messages for `event` to `target`; points are in `source`'s coordinates.
bool DeliverInput(PlatformWindow* target, QWidget* source, QEvent* event);
}  // namespace platform
