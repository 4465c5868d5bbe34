#include "platform/framework/wnd.h"

#include "platform/framework/icon_handles.h"
#include "platform/framework/platform_window.h"

void CWnd::SetWindowText(const std::string& text)
{
    if (m_hWnd == nullptr)
        return;
    m_hWnd->title = text;
    if (m_hWnd->top)
        m_hWnd->top->setWindowTitle(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::string CWnd::GetWindowText() const
{
    return m_hWnd != nullptr ? m_hWnd->title : std::string();
}

BOOL CWnd::SetForegroundWindow()
{
    if (m_hWnd == nullptr || !m_hWnd->top)
        return FALSE;
    m_hWnd->top->raise();
    m_hWnd->top->activateWindow();
    return TRUE;
}

void CWnd::SetIcon(HICON icon, BOOL)
{
    if (m_hWnd == nullptr || icon == nullptr)
        return;
    if (m_hWnd->top)
        m_hWnd->top->setWindowIcon(icon->icon);
}

void CWnd::DragAcceptFiles(BOOL accept)
{
    if (m_hWnd != nullptr && m_hWnd->client)
        m_hWnd->client->setAcceptDrops(accept != FALSE);
}
