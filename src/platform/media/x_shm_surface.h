#pragma once
// Pictures put into an X window straight from shared memory, as ximagesink
// does: the X server reads them where they were converted, so nothing is copied
// into the toolkit's backing store and the UI thread has no part in a new frame.
// Only on a local X display with MIT-SHM and a true-colour window of 24 or 32
// bits whose pixels are 0x00RRGGBB; elsewhere there is no such surface and the
// widget paints as any other.

#include <memory>

#include "platform/media/picture_surface.h"

namespace platform::gst {

// Threads: made on the UI thread; every member on any thread. Images it made
// may outlive it.
class XShmSurface final : public PictureSurface {
public:
    // For the native X window `window` of the toolkit's own display connection.
    static std::shared_ptr<XShmSurface> ForWindow(unsigned long window);
    ~XShmSurface() override;

    QImage MakeImage(QSize size) override;
    bool Put(const QImage& image) override;
    void Clear() override;

    struct Display;

private:
    XShmSurface(std::shared_ptr<Display> display, unsigned long window, unsigned depth);

    std::shared_ptr<Display> m_display;
    unsigned long m_window;
    unsigned m_depth;
    unsigned m_gc = 0;
};

}  // namespace platform::gst
