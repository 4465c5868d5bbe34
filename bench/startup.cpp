// Starts a command and reports how long it takes until something shows on the X screen, judged
// from the screen alone, so that every player is measured the same way:
//
//   vantrel_bench_startup [--picture | --painted] [--timeout SECONDS] -- COMMAND [ARGUMENT...]
//
// --painted (the default) waits for the first 2000 pixels that differ from the screen before the
// start; --picture waits for the SMPTE bars of videotestsrc: 2000 green and 2000 magenta pixels.
// The screen is read again after every change that the Damage extension reports on the root
// window. Prints "MILLISECONDS PEAK_RSS_KIB" (the command's VmHWM at that moment) and exits 0, or
// prints "none" and exits 1 when the command ended or the time ran out first. The command is then
// ended with SIGTERM (SIGKILL after 10 s). What the command writes to stdout goes to stderr.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr long kEnoughPixels = 2000;

double NowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

int ShiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1UL) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB
};

bool Grab(Display* display, Window root, Shot& screen)
{
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(screen.width),
                              static_cast<unsigned>(screen.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    const int rs = ShiftOf(image->red_mask), gs = ShiftOf(image->green_mask), bs = ShiftOf(image->blue_mask);
    screen.rgb.resize(static_cast<size_t>(screen.width) * static_cast<size_t>(screen.height));
    const bool fast = image->bits_per_pixel == 32;
    for (int y = 0; y < screen.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image->data + static_cast<long>(y) * image->bytes_per_line);
        for (int x = 0; x < screen.width; ++x) {
            const unsigned long p = fast ? row[x] : XGetPixel(image, x, y);
            const auto r = static_cast<uint32_t>((p & image->red_mask) >> rs),
                       g = static_cast<uint32_t>((p & image->green_mask) >> gs),
                       b = static_cast<uint32_t>((p & image->blue_mask) >> bs);
            screen.rgb[static_cast<size_t>(y) * static_cast<size_t>(screen.width) + static_cast<size_t>(x)] =
                (r << 16) | (g << 8) | b;
        }
    }
    XDestroyImage(image);
    return true;
}

bool Painted(const Shot& before, const Shot& now)
{
    long changed = 0;
    for (size_t i = 0; i < now.rgb.size(); ++i)
        if (now.rgb[i] != before.rgb[i] && ++changed >= kEnoughPixels)
            return true;
    return false;
}

// The 75 % bars survive H.264 and any colour conversion well inside these bounds.
bool Picture(const Shot& now)
{
    long green = 0, magenta = 0;
    for (const uint32_t p : now.rgb) {
        const uint32_t r = p >> 16, g = (p >> 8) & 0xff, b = p & 0xff;
        if (r < 80 && g > 140 && b < 80)
            ++green;
        if (r > 140 && g < 80 && b > 140)
            ++magenta;
    }
    return green >= kEnoughPixels && magenta >= kEnoughPixels;
}

long PeakRssKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

void End(pid_t child, bool reaped)
{
    if (reaped)
        return;
    kill(child, SIGTERM);
    const double deadline = NowMs() + 10000;
    while (NowMs() < deadline) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(20000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

int Usage()
{
    std::fputs("usage: vantrel_bench_startup [--picture | --painted] [--timeout SECONDS] -- COMMAND...\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    bool picture = false;
    double timeoutMs = 30000;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--picture") == 0)
            picture = true;
        else if (std::strcmp(argv[i], "--painted") == 0)
            picture = false;
        else if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc)
            timeoutMs = std::atof(argv[++i]) * 1000;
        else
            return Usage();
    }
    if (i + 1 >= argc)
        return Usage();
    char** command = argv + i + 1;

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("vantrel_bench_startup: cannot open the display\n", stderr);
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fputs("vantrel_bench_startup: the X server has no Damage extension\n", stderr);
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    Shot before, now;
    before.width = now.width = DisplayWidth(display, DefaultScreen(display));
    before.height = now.height = DisplayHeight(display, DefaultScreen(display));
    const Damage damage = XDamageCreate(display, root, XDamageReportNonEmpty);
    XSync(display, False);
    XDamageSubtract(display, damage, None, None);
    if (!Grab(display, root, before))
        return 2;
    XSync(display, False);

    const double start = NowMs();
    const pid_t child = fork();
    if (child < 0)
        return 2;
    if (child == 0) {
        // Stdout carries the figure alone.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(command[0], command);
        std::perror(command[0]);
        _exit(127);
    }

    bool seen = false, reaped = false;
    double at = 0;
    bool changed = true;  // the screen may have changed between the grab and the fork
    while (!seen) {
        const double left = start + timeoutMs - NowMs();
        if (left <= 0)
            break;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            reaped = true;
            break;
        }
        if (!changed && XPending(display) == 0) {
            pollfd fd{ConnectionNumber(display), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left < 100 ? left : 100));
        }
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvent + XDamageNotify)
                changed = true;
        }
        if (!changed)
            continue;
        changed = false;
        XDamageSubtract(display, damage, None, None);
        const double grabbed = NowMs() - start;
        if (!Grab(display, root, now))
            break;
        if (picture ? Picture(now) : Painted(before, now)) {
            seen = true;
            at = grabbed;
        }
    }
    const long rss = seen ? PeakRssKib(child) : -1;
    End(child, reaped);
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
    if (!seen) {
        std::puts("none");
        return 1;
    }
    std::printf("%.1f %ld\n", at, rss);
    return 0;
}
