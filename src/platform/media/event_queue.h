#pragma once
// The graph's event queue: filled from GStreamer's threads, drained by the UI
// thread. Each event queued posts the notification message, when one is set.

#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/com/dshow.h"

namespace platform::gst {

struct GraphEvent {
    LONG code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
};

class EventQueue {
public:
    // Any thread.
    void Push(const GraphEvent& event);

    // timeoutMs 0 answers at once, a negative time-out waits without bound.
    // False when no event came in time.
    bool Pop(GraphEvent* event, LONG timeoutMs);

    // hwnd null stops the notifications.
    void SetNotifyWindow(HWND hwnd, UINT message, LPARAM instanceData);

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<GraphEvent> m_events;
    HWND m_notifyWindow = nullptr;
    UINT m_notifyMessage = 0;
    LPARAM m_notifyData = 0;
};

}  // namespace platform::gst
