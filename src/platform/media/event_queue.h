#pragma once
// The graph's event queue: filled from GStreamer's threads, drained by the UI
// thread. Each event queued posts the notification message, when one is set.
// A failure is reported once: from its first error until the next attempt, no
// end of stream and no further error is queued.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/com/dshow.h"

namespace platform::gst {

struct GraphEvent {
    LONG code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    // The order of queuing, stamped by the queue: 0 for the first event.
    std::uint64_t sequence = 0;
};

class EventQueue {
public:
    // Any thread.
    void PushEndOfStream();
    // Queues EC_ERRORABORT with `error` in place of every end of stream still
    // waiting, which came from the same failure; nothing while a failure stands.
    void PushError(HRESULT error);
    // Queues a notice (EC_TAGS_CHANGED, EC_LENGTH_CHANGED) unless the same one is still
    // waiting; failures do not stop it.
    void PushNotice(LONG code);

    // timeoutMs 0 answers at once, a negative time-out waits without bound.
    // False when no event came in time.
    bool Pop(GraphEvent* event, LONG timeoutMs);

    // A failure found when an event is fetched: what follows it is not queued.
    void MarkFailed();
    // A new attempt: ends of stream and errors are queued again. True when a
    // failure stood.
    bool ClearFailure();
    // How many events have been queued; the next one gets this sequence.
    std::uint64_t Queued();

    // hwnd null stops the notifications.
    void SetNotifyWindow(HWND hwnd, UINT message, LPARAM instanceData);

private:
    // With the lock held; posts the notification after it is released.
    void PushLocked(std::unique_lock<std::mutex>& lock, GraphEvent event);

    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<GraphEvent> m_events;
    std::uint64_t m_queued = 0;
    bool m_failed = false;
    HWND m_notifyWindow = nullptr;
    UINT m_notifyMessage = 0;
    LPARAM m_notifyData = 0;
};

}  // namespace platform::gst
