#include "platform/desktop/x_screen_saver.h"

#include <QGuiApplication>

// After Qt: Xlib's macros (None, Bool, Status) would break Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace desktop {

namespace {

Display* XDisplay()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr)
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace

bool XScreenSaverAvailable()
{
    Display* display = XDisplay();
    int eventBase = 0;
    int errorBase = 0;
    return display != nullptr && XScreenSaverQueryExtension(display, &eventBase, &errorBase) != 0;
}

void SuspendXScreenSaver(bool suspend)
{
    Display* display = XDisplay();
    if (display == nullptr)
        return;
    XScreenSaverSuspend(display, suspend ? True : False);
    XFlush(display);
}

}  // namespace desktop
