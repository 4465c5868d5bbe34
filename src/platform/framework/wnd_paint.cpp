#include "platform/framework/wnd.h"

#include <algorithm>

#include "platform/framework/platform_window.h"

namespace {

// A rectangle to repaint: only its overlap with a client area matters, so edges far
// outside any window are pulled in before the toolkit does arithmetic on them.
constexpr long long kRepaintReach = 2 * kMaxWindowSide;

QRect RepaintRect(const RECT& r)
{
    const auto edge = [](LONG v) { return std::clamp<long long>(v, -kRepaintReach, kRepaintReach); };
    const long long l = edge(r.left);
    const long long t = edge(r.top);
    const long long w = std::max<long long>(0, edge(r.right) - l);
    const long long h = std::max<long long>(0, edge(r.bottom) - t);
    return QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(w), static_cast<int>(h));
}

}  // namespace

BOOL CWnd::RedrawWindow(const RECT* rect, const void*, UINT flags)
{
    PlatformWindow* p = m_hWnd;
    if (p == nullptr)
        return FALSE;
    p->EnsureCanvasSize();
    const QRegion region = rect != nullptr ? QRegion(RepaintRect(*rect)) : QRegion(p->ClientRect());
    if (flags & RDW_INVALIDATE)
        p->Invalidate(region, (flags & RDW_ERASE) != 0);
    if (flags & RDW_NOERASE)
        p->eraseNeeded = false;
    if (flags & RDW_UPDATENOW)
        p->UpdateNow();
    return TRUE;
}

void CWnd::Invalidate(BOOL erase)
{
    if (m_hWnd != nullptr)
        m_hWnd->Invalidate(QRegion(m_hWnd->ClientRect()), erase != FALSE);
}
