#pragma once
// Where pictures can be shown without the UI thread: a surface of the window
// system that any thread may put a picture on.

#include <QImage>
#include <QSize>

namespace platform::gst {

// Threads: all members on any thread.
class PictureSurface {
public:
    virtual ~PictureSurface() = default;
    // Format_RGB32 pixels that Put can show; a null image when none can be made.
    virtual QImage MakeImage(QSize size) = 0;
    // Shows `image`, made by MakeImage, at the window's top-left and returns once
    // its pixels have been read, so that they may be drawn over at once.
    virtual bool Put(const QImage& image) = 0;
    // Clears the window to black.
    virtual void Clear() = 0;
};

}  // namespace platform::gst
