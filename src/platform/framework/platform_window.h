#pragma once
// Platform-private: what stands behind a window handle.

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/wnd.h"

struct PaintSurface;

struct PlatformWindow {
    CWnd* wnd = nullptr;
    WindowStyle style;
    PlatformWindow* parent = nullptr;
    std::uint64_t serial = 0;  // tells a reused address from the window it once was

    // A top-level window's outer widget (frame or dialog); null for a child.
    QPointer<QWidget> top;
    // The client area: children are placed on it and it receives the input.
    QPointer<QWidget> client;
    // True when the client paints from `canvas` (our own windows); false for
    // dialogs whose controls paint themselves.
    bool hasCanvas = true;

    // The pixels the window's handlers drew, kept between paints: the screen's pixels,
    // its device pixel ratio set.
    QImage canvas;
    QRegion invalid;
    // Invalid parts left unpainted because child windows covered them; painted once
    // the toolkit shows them.
    QRegion underChildren;
    bool eraseNeeded = false;
    PaintSurface* surface = nullptr;  // set while a paint or erase handler runs

    std::map<std::uintptr_t, int> timers;  // our id -> toolkit timer id
    QSize reportedClientSize{-1, -1};
    bool destroying = false;
    std::string title;
    std::uint64_t paints = 0;  // WM_PAINTs run, and the pixels they covered
    std::uint64_t paintedPixels = 0;

    // Repaints the invalid area into the canvas now (erase first when asked),
    // then shows it on screen.
    void UpdateNow(bool showNow = true);
    void Invalidate(const QRegion& region, bool erase);
    // Sends WM_SIZE when the client size differs from the last one reported.
    void NotifySizeIfChanged();
    void EnsureCanvasSize();
    QSize CanvasSize() const;  // in logical pixels
    QRect ClientRect() const;
    // What the visible child windows cover of the client area.
    QRegion ChildrenArea() const;
};

namespace platform {
// The live windows, for handle validation. UI thread only.
void RegisterWindow(PlatformWindow* window);
void UnregisterWindow(PlatformWindow* window);
bool IsLiveWindow(const PlatformWindow* window, std::uint64_t serial);
bool IsLiveHandle(const PlatformWindow* window);
PlatformWindow* WindowOfWidget(const QWidget* widget);
// The live child windows of `window`, in creation order.
std::vector<CWnd*> ChildWindowsOf(const PlatformWindow* window);
}  // namespace platform
