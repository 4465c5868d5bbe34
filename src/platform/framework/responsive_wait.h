#pragma once
// Platform-internal: a wait on the UI thread that keeps the windows alive. Other
// platform services (the filter graph's open) use it; not for the program's code.

#include <chrono>
#include <functional>

#include "platform/system/win_types.h"

namespace platform {

enum class WaitEnd { Settled, TimedOut, Abandoned };

// Waits until `settledWithin` answers true or `bound` has passed. `settledWithin(slice)`
// blocks at most `slice` and tells whether the awaited thing has happened.
//
// After a short grace the windows come alive: a main window not yet shown is shown,
// paints and timers run, and the wait cursor shows. User input is dropped, not kept for
// later. Messages posted to windows wait until the wait is over, except a close request
// (Escape, the window manager's close, a termination signal, WM_CLOSE or a cancel or
// exit command): that abandons the wait and is delivered once the caller has returned.
// Off the UI thread, or without a toolkit, it simply blocks.
WaitEnd AwaitResponsively(const std::function<bool(std::chrono::milliseconds slice)>& settledWithin,
                          std::chrono::milliseconds bound);

// Commands with this id end a wait as a close does, without the close. UI thread only.
void AbandonWaitsOn(UINT command);

// For the message poster: true when a responsive wait takes this posted message
// (to hold it, or to end the wait on it). UI thread only.
bool TakenByResponsiveWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform
