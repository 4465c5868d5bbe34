// Looks at the X server's own screen saver for a test: "x_screen_saver_probe TIMEOUT" sets its
// timeout in seconds; "x_screen_saver_probe" prints its state ("on", "off" or "disabled") and
// the milliseconds since the last input.

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    if (argc > 1) {
        XSetScreenSaver(display, std::atoi(argv[1]), 0, DontPreferBlanking, AllowExposures);
        XCloseDisplay(display);
        return 0;
    }
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (info == nullptr || !XScreenSaverQueryInfo(display, DefaultRootWindow(display), info))
        return 1;
    const char* state = info->state == ScreenSaverOn ? "on" : info->state == ScreenSaverOff ? "off" : "disabled";
    std::printf("%s %lu\n", state, info->idle);
    XFree(info);
    XCloseDisplay(display);
    return 0;
}
