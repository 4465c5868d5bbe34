#pragma once
// Platform-internal: how other platform services (the filter graph's video
// window) reach the widgets behind a window handle. Not for the program's code.

#include "platform/system/win_types.h"

class QWidget;
class QEvent;
class QImage;

namespace platform {
// The widget that is the window's client area (children are placed on it), or
// null when `hwnd` is not a live window. UI thread only.
QWidget* ClientWidgetOf(HWND hwnd);

// Queues a message for the window. Safe from any thread; a message for a window
// that is gone by the time it is delivered is dropped.
bool PostMessageTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Whether an event is the user's input: pointer, keys, wheel, touch, tablet, drag and drop.
bool IsUserInput(const QEvent* event);

// Translates a mouse or key event that reached `source` into the window
// messages the window would get for it (points in `source`'s coordinates) and
// sends them to `target`. Returns true when the event was one of those.
bool ForwardInputAsMessages(HWND target, QWidget* source, QEvent* event);

// The pixels a window's handlers have drawn so far (null for windows without a
// canvas), at the screen's pixels: its devicePixelRatio() maps them to the window's
// logical coordinates. For tests and tools.
const QImage* CanvasOf(HWND hwnd);

// How many paints a window has run and how many pixels they covered, for tools.
struct PaintCounters {
    unsigned long long paints = 0;
    unsigned long long pixels = 0;
};
PaintCounters PaintCountersOf(HWND hwnd);
}  // namespace platform
