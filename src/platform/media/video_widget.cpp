#include "platform/media/video_widget.h"

#include <QBackingStore>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include <cstring>
#include <utility>

#include "platform/framework/window_host.h"
#include "platform/media/x_shm_surface.h"

namespace platform::gst {

VideoWidget::VideoWidget(QWidget* parent, PictureSource pictures, SizeWanted sizeWanted)
    : QWidget(parent), m_pictures(std::move(pictures)), m_sizeWanted(std::move(sizeWanted))
{
    // Every pixel is painted each time, so nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

std::shared_ptr<PictureSurface> VideoWidget::MakeSurface(ShowOnSurface show)
{
    // At other ratios the toolkit rounds a child window's place its own way; there
    // the picture goes through the backing store, which meets its neighbours exactly.
    if (QGuiApplication::platformName() != QLatin1String("xcb") || devicePixelRatioF() != 1.0)
        return nullptr;
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_NativeWindow);
    std::shared_ptr<XShmSurface> surface = XShmSurface::ForWindow(winId());
    if (!surface)
        return nullptr;
    // The toolkit no longer paints here: what it flushed would cover the pictures.
    setAttribute(Qt::WA_PaintOnScreen);
    m_showOnSurface = std::move(show);
    return surface;
}

QPaintEngine* VideoWidget::paintEngine() const
{
    return testAttribute(Qt::WA_PaintOnScreen) ? nullptr : QWidget::paintEngine();
}

void VideoWidget::Retire()
{
    hide();
    m_pictures = nullptr;
    m_sizeWanted = nullptr;
    m_showOnSurface = nullptr;
    m_drain = nullptr;
    deleteLater();
}

bool VideoWidget::event(QEvent* event)
{
    if (m_drain && IsUserInput(event) && ForwardInputAsMessages(m_drain, this, event)) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void VideoWidget::resizeEvent(QResizeEvent* /*event*/)
{
    if (isVisible())
        WantSize(PlaceOnScreen().size());
}

void VideoWidget::moveEvent(QMoveEvent* /*event*/)
{
    // At a fractional ratio the place decides the rounded size.
    if (isVisible())
        WantSize(PlaceOnScreen().size());
}

void VideoWidget::showEvent(QShowEvent* /*event*/)
{
    WantSize(PlaceOnScreen().size());
}

void VideoWidget::hideEvent(QHideEvent* /*event*/)
{
    // Nothing is converted for a window nobody sees.
    WantSize(QSize());
}

void VideoWidget::WantSize(QSize size)
{
    if (size == m_wanted)
        return;
    m_wanted = size;
    if (m_sizeWanted)
        m_sizeWanted(size);
}

QRect VideoWidget::PlaceOnScreen() const
{
    const qreal ratio = devicePixelRatioF();
    const QRectF logical(mapTo(window(), QPoint(0, 0)), size());
    return QRect(QPoint(qRound(logical.left() * ratio), qRound(logical.top() * ratio)),
                 QPoint(qRound(logical.right() * ratio) - 1, qRound(logical.bottom() * ratio) - 1));
}

void VideoWidget::paintEvent(QPaintEvent* event)
{
    // A change of ratio reaches the widget as a repaint.
    WantSize(PlaceOnScreen().size());
    // Painted on screen it is the surface's; anywhere else (a grab) it paints as any widget.
    if (testAttribute(Qt::WA_PaintOnScreen) && !redirected(nullptr)) {
        if (m_showOnSurface)
            m_showOnSurface();
        return;
    }
    QPainter painter(this);
    const std::shared_ptr<const ScreenPicture> picture = m_pictures ? m_pictures() : nullptr;
    if (!picture) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (CopyInPlace(picture->pixels, *event, painter))
        return;
    // Elsewhere (a grab), or while a picture at the new size is being made, the
    // painter scales the one there is.
    painter.drawImage(QRectF(rect()), picture->pixels);
}

bool VideoWidget::CopyInPlace(const QImage& pixels, const QPaintEvent& event, QPainter& painter)
{
    // Writing around the painter is safe only where it would have painted every
    // pixel of the widget, unscaled, into the image the window is shown from.
    QBackingStore* store = window()->backingStore();
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    if (!store || !device || device != store->paintDevice() || device->devType() != QInternal::Image)
        return false;
    auto* target = static_cast<QImage*>(device);
    const QRect place = PlaceOnScreen();
    const bool wholeWidget = QRegion(rect()).subtracted(event.region()).isEmpty();
    const bool argb = target->format() == QImage::Format_RGB32 || target->format() == QImage::Format_ARGB32 ||
                      target->format() == QImage::Format_ARGB32_Premultiplied;
    if (!wholeWidget || !argb || pixels.size() != place.size() || place.isEmpty() || !target->rect().contains(place) ||
        target->devicePixelRatio() != devicePixelRatioF())
        return false;
    const qsizetype stride = target->bytesPerLine();
    uchar* corner = target->bits() + place.y() * stride + place.x() * 4;
    const auto rowBytes = size_t(place.width()) * 4;
    for (int y = 0; y < place.height(); ++y)
        std::memcpy(corner + y * stride, pixels.constScanLine(y), rowBytes);
    return true;
}

}  // namespace platform::gst
