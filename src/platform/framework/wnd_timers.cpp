#include "platform/framework/wnd.h"

#include "platform/framework/platform_window.h"

std::uintptr_t CWnd::SetTimer(std::uintptr_t id, UINT elapseMs, void*)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr || !p->client)
        return 0;
    if (auto it = p->timers.find(id); it != p->timers.end()) {
        p->client->killTimer(it->second);
        p->timers.erase(it);
    }
    const int qtId = p->client->startTimer(static_cast<int>(std::min<UINT>(elapseMs, 0x7FFFFFFF)));
    if (qtId == 0)
        return 0;
    p->timers[id] = qtId;
    return id;
}

BOOL CWnd::KillTimer(std::uintptr_t id)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr)
        return FALSE;
    auto it = p->timers.find(id);
    if (it == p->timers.end())
        return FALSE;
    if (p->client)
        p->client->killTimer(it->second);
    p->timers.erase(it);
    return TRUE;
}
