// Turns toolkit input events into the window messages our windows handle.

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include "platform/framework/dialog.h"
#include "platform/framework/input_messages.h"
#include "platform/framework/platform_window.h"
#include "platform/framework/window_host.h"

namespace {

WPARAM KeyStateFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    WPARAM flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

LPARAM PointParam(const QPointF& pos)
{
    const QPoint p = pos.toPoint();
    return MAKELPARAM(p.x(), p.y());
}

LPARAM GlobalPointParam(const QPoint& global)
{
    return MAKELPARAM(global.x(), global.y());
}

}  // namespace

namespace platform {

UINT VirtualKeyFromQt(int key)
{
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Menu: return VK_APPS;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return static_cast<UINT>(key);
    return 0;
}

bool DeliverInput(PlatformWindow* target, QWidget* source, QEvent* event)
{
    if (target == nullptr || target->wnd == nullptr)
        return false;
    CWnd* wnd = target->wnd;
    const std::uint64_t serial = target->serial;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        const WPARAM flags = KeyStateFlags(e->buttons(), e->modifiers());
        if (e->button() == Qt::LeftButton)
            wnd->SendMessage(WM_LBUTTONDOWN, flags, PointParam(e->position()));
        else if (e->button() == Qt::RightButton)
            wnd->SendMessage(WM_RBUTTONDOWN, flags, PointParam(e->position()));
        else
            return false;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const WPARAM flags = KeyStateFlags(e->buttons(), e->modifiers());
        if (e->button() == Qt::LeftButton) {
            wnd->SendMessage(WM_LBUTTONUP, flags, PointParam(e->position()));
        } else if (e->button() == Qt::RightButton) {
            // The context menu follows the release of the right button.
            wnd->SendMessage(WM_RBUTTONUP, flags, PointParam(e->position()));
            if (IsLiveWindow(target, serial)) {
                wnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
                                 GlobalPointParam(e->globalPosition().toPoint()));
            }
        } else {
            return false;
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        wnd->SendMessage(WM_MOUSEMOVE, KeyStateFlags(e->buttons(), e->modifiers()), PointParam(e->position()));
        return true;
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        const int key = e->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Dialogs take Escape and Enter as their Cancel and OK commands.
            if (dynamic_cast<CDialog*>(wnd) != nullptr) {
                if (!e->isAutoRepeat())
                    wnd->SendMessage(WM_COMMAND, key == Qt::Key_Escape ? IDCANCEL : IDOK, 0);
                return true;
            }
        }
        if (key == Qt::Key_F10 && (e->modifiers() & Qt::ShiftModifier)) {
            wnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(-1, -1));
            return true;
        }
        const UINT vk = VirtualKeyFromQt(key);
        const QString text = e->text();
        // A key that types a character also sends it, as the keyboard layout makes it ('#' is
        // Shift+3 on one layout and a key of its own on another).
        const bool typed = text.size() == 1 && text[0].isPrint() && !text[0].isSpace();
        if (vk == 0 && !typed)
            return false;
        const auto scan = static_cast<LPARAM>(e->nativeScanCode() & 0xFF);
        LPARAM lParam = 1 | (scan << 16);
        if (e->isAutoRepeat())
            lParam |= static_cast<LPARAM>(1) << 30;
        if (vk != 0)
            wnd->SendMessage(WM_KEYDOWN, vk, lParam);
        if (typed && IsLiveWindow(target, serial))
            wnd->SendMessage(WM_CHAR, text[0].unicode(), lParam);
        return true;
    }
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        const int delta = e->angleDelta().y();
        if (delta == 0)
            return true;
        const WPARAM flags = KeyStateFlags(e->buttons(), e->modifiers());
        wnd->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(flags), delta),
                         GlobalPointParam(e->globalPosition().toPoint()));
        return true;
    }
    case QEvent::ContextMenu: {
        auto* e = static_cast<QContextMenuEvent*>(event);
        // Mouse requests come from the right button's release; only the keyboard's here.
        if (e->reason() != QContextMenuEvent::Keyboard)
            return true;
        wnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(-1, -1));
        return true;
    }
    default: break;
    }
    (void)source;
    return false;
}

bool ForwardInputAsMessages(HWND target, QWidget* source, QEvent* event)
{
    if (!IsLiveHandle(target))
        return false;
    return DeliverInput(target, source, event);
}

bool IsUserInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease: return true;
    default: return false;
    }
}

}  // namespace platform
