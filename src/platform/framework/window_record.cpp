#include "platform/framework/platform_window.h"

#include <QPainter>
#include <QtMath>

#include <sys/mman.h>

#include <cstddef>

#include "platform/gdi/paint.h"
#include "platform/gdi/paint_surface.h"

namespace {

struct Mapping {
    void* address;
    std::size_t bytes;
};

// Black pixels that take no memory until they are drawn on: a window's pixels
// under its children are never drawn, and the main window is mostly picture.
QImage BlankCanvas(const QSize& pixels)
{
    const qsizetype stride = static_cast<qsizetype>(pixels.width()) * 4;
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(pixels.height());
    void* address = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) {
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(Qt::black);
        return image;
    }
    auto* mapping = new Mapping{address, bytes};
    const auto release = [](void* info) {
        const auto* m = static_cast<Mapping*>(info);
        munmap(m->address, m->bytes);
        delete m;
    };
    return QImage(static_cast<uchar*>(address), pixels.width(), pixels.height(), stride, QImage::Format_RGB32, release,
                  mapping);
}

// The DC handed to WM_ERASEBKGND handlers.
class SurfaceDC : public CDC {
public:
    explicit SurfaceDC(PaintSurface* surface) : CDC(surface) {}
};

}  // namespace

QRect PlatformWindow::ClientRect() const
{
    return client ? QRect(QPoint(0, 0), client->size()) : QRect();
}

QSize PlatformWindow::CanvasSize() const
{
    if (!client)
        return {};
    return client->size().expandedTo(QSize(1, 1)).boundedTo(QSize(kMaxWindowSide, kMaxWindowSide));
}

void PlatformWindow::EnsureCanvasSize()
{
    if (!hasCanvas || !client)
        return;
    // The screen's own pixels, so that text and edges are drawn at its resolution; the
    // handlers still paint in logical pixels, which the painter scales. A fractional ratio
    // rounds up: the widget covers at most that many pixels wherever it sits.
    const qreal ratio = client->devicePixelRatioF();
    const QSize size = CanvasSize();
    const QSize pixels(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
    if (canvas.size() == pixels && canvas.devicePixelRatio() == ratio)
        return;
    QImage next = BlankCanvas(pixels);
    next.setDevicePixelRatio(ratio);
    if (!canvas.isNull()) {
        QPainter copy(&next);
        copy.drawImage(0, 0, canvas);
    }
    canvas = std::move(next);
    invalid = QRegion(QRect(QPoint(0, 0), size));
    underChildren = QRegion();
    eraseNeeded = true;
}

QRegion PlatformWindow::ChildrenArea() const
{
    QRegion area;
    if (!client)
        return area;
    for (QObject* object : client->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        // Only children that paint all of their own pixels hide the window's.
        if (child != nullptr && !child->isWindow() && child->isVisibleTo(client) &&
            child->testAttribute(Qt::WA_OpaquePaintEvent))
            area += child->geometry();
    }
    return area;
}

void PlatformWindow::Invalidate(const QRegion& region, bool erase)
{
    if (!client)
        return;
    const QRegion area = region.intersected(ClientRect());
    if (area.isEmpty())
        return;
    invalid += area;
    if (erase)
        eraseNeeded = true;
    client->update(area);
}

void PlatformWindow::UpdateNow(bool showNow)
{
    if (!client || !hasCanvas || wnd == nullptr)
        return;
    // A repaint asked for from inside a paint waits for the next one.
    if (surface != nullptr)
        return;
    EnsureCanvasSize();
    if (invalid.isEmpty())
        return;
    // What the children cover is not shown: it waits until the toolkit asks for it.
    const QRegion covered = invalid.intersected(ChildrenArea());
    underChildren += covered;
    const QRegion region = invalid.subtracted(covered);
    const bool erase = eraseNeeded;
    invalid = QRegion();
    eraseNeeded = false;

    QPainter painter(&canvas);
    painter.setClipRegion(region);
    PaintSurface paint{&painter, QRect(QPoint(0, 0), CanvasSize()), ScreenLogPixelsY()};
    surface = &paint;
    const std::uint64_t mySerial = serial;
    if (erase) {
        SurfaceDC dc(&paint);
        wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
    }
    ++paints;
    for (const QRect& r : region)
        paintedPixels += static_cast<std::uint64_t>(r.width()) * static_cast<std::uint64_t>(r.height());
    if (platform::IsLiveWindow(this, mySerial))
        wnd->SendMessage(WM_PAINT, 0, 0);
    if (!platform::IsLiveWindow(this, mySerial))
        return;
    surface = nullptr;
    painter.end();
    if (showNow && client)
        client->update(region);
}

void PlatformWindow::NotifySizeIfChanged()
{
    if (!client || wnd == nullptr || destroying)
        return;
    const QSize size = client->size();
    if (size == reportedClientSize)
        return;
    reportedClientSize = size;
    EnsureCanvasSize();
    WPARAM kind = SIZE_RESTORED;
    if (top && top->isMinimized())
        kind = SIZE_MINIMIZED;
    else if (top && top->isMaximized())
        kind = SIZE_MAXIMIZED;
    wnd->SendMessage(WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
}
