#include "platform/framework/wnd.h"

#include <QApplication>
#include <QCursor>

#include "platform/framework/icon_handles.h"
#include "platform/framework/platform_window.h"

namespace {
HCURSOR g_currentCursor = nullptr;
}  // namespace

CWnd* CWnd::SetCapture()
{
    CWnd* previous = GetCapture();
    if (m_hWnd != nullptr && m_hWnd->client)
        m_hWnd->client->grabMouse();
    return previous;
}

CWnd* CWnd::GetCapture()
{
    PlatformWindow* p = platform::WindowOfWidget(QWidget::mouseGrabber());
    return p != nullptr ? p->wnd : nullptr;
}

BOOL CWnd::ReleaseCapture()
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    return TRUE;
}

HCURSOR CWnd::SetCursor(HCURSOR cursor)
{
    HCURSOR previous = g_currentCursor;
    g_currentCursor = cursor;
    QWidget* target = QWidget::mouseGrabber();
    if (target == nullptr)
        target = QApplication::widgetAt(QCursor::pos());
    PlatformWindow* p = platform::WindowOfWidget(target);
    while (p != nullptr && p->parent != nullptr)
        p = p->parent;
    if (p != nullptr && p->client) {
        if (cursor != nullptr)
            p->client->setCursor(cursor->cursor);
        else
            p->client->unsetCursor();
    }
    return previous;
}

BOOL CWnd::GetCursorPos(POINT* point)
{
    if (point == nullptr)
        return FALSE;
    const QPoint p = QCursor::pos();
    *point = POINT{p.x(), p.y()};
    return TRUE;
}

int GetSystemMetrics(int index)
{
    if (index == SM_CXDRAG || index == SM_CYDRAG)
        return QApplication::startDragDistance();
    return 0;
}
