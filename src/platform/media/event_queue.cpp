#include "platform/media/event_queue.h"

#include <chrono>

#include "platform/framework/window_host.h"

namespace platform::gst {

void EventQueue::Push(const GraphEvent& event)
{
    HWND window = nullptr;
    UINT message = 0;
    LPARAM data = 0;
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
        window = m_notifyWindow;
        message = m_notifyMessage;
        data = m_notifyData;
    }
    m_arrived.notify_all();
    if (window)
        PostMessageTo(window, message, 0, data);
}

bool EventQueue::Pop(GraphEvent* event, LONG timeoutMs)
{
    std::unique_lock lock(m_mutex);
    const auto ready = [this] { return !m_events.empty(); };
    if (timeoutMs < 0)
        m_arrived.wait(lock, ready);
    else if (!m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready))
        return false;
    *event = m_events.front();
    m_events.pop_front();
    return true;
}

void EventQueue::SetNotifyWindow(HWND hwnd, UINT message, LPARAM instanceData)
{
    std::lock_guard lock(m_mutex);
    m_notifyWindow = hwnd;
    m_notifyMessage = message;
    m_notifyData = instanceData;
}

}  // namespace platform::gst
