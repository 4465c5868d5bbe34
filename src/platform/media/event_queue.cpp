#include "platform/media/event_queue.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/framework/window_host.h"

namespace platform::gst {

void EventQueue::PushEndOfStream()
{
    std::unique_lock lock(m_mutex);
    if (m_failed)
        return;
    PushLocked(lock, {EC_COMPLETE, 0, 0});
}

void EventQueue::PushError(HRESULT error)
{
    std::unique_lock lock(m_mutex);
    if (m_failed)
        return;
    m_failed = true;
    std::erase_if(m_events, [](const GraphEvent& event) { return event.code == EC_COMPLETE; });
    PushLocked(lock, {EC_ERRORABORT, error, 0});
}

void EventQueue::PushNotice(LONG code)
{
    std::unique_lock lock(m_mutex);
    if (std::any_of(m_events.begin(), m_events.end(), [code](const GraphEvent& event) { return event.code == code; }))
        return;
    PushLocked(lock, {code, 0, 0});
}

void EventQueue::PushLocked(std::unique_lock<std::mutex>& lock, GraphEvent event)
{
    event.sequence = m_queued++;
    m_events.push_back(event);
    const HWND window = m_notifyWindow;
    const UINT message = m_notifyMessage;
    const LPARAM data = m_notifyData;
    lock.unlock();
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

void EventQueue::MarkFailed()
{
    std::lock_guard lock(m_mutex);
    m_failed = true;
}

bool EventQueue::ClearFailure()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_failed, false);
}

std::uint64_t EventQueue::Queued()
{
    std::lock_guard lock(m_mutex);
    return m_queued;
}

void EventQueue::SetNotifyWindow(HWND hwnd, UINT message, LPARAM instanceData)
{
    std::lock_guard lock(m_mutex);
    m_notifyWindow = hwnd;
    m_notifyMessage = message;
    m_notifyData = instanceData;
}

}  // namespace platform::gst
