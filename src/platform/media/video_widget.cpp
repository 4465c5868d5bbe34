#include "platform/media/video_widget.h"

#include <QBackingStore>
#include <QEvent>
#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include <utility>

#include "platform/framework/window_host.h"

namespace platform::gst {

VideoWidget::VideoWidget(QWidget* parent, FrameSource frames) : QWidget(parent), m_frames(std::move(frames))
{
    // Every pixel is painted each time, so nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void VideoWidget::Retire()
{
    hide();
    m_frames = nullptr;
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

void VideoWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const std::shared_ptr<const DecodedFrame> frame = m_frames ? m_frames() : nullptr;
    if (!frame) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (DrawInPlace(*frame, *event, painter))
        return;
    // Elsewhere (a grab) the picture goes through an image of its own, at the screen's pixels.
    const qreal ratio = devicePixelRatioF();
    QImage image(qCeil(width() * ratio), qCeil(height() * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    if (!image.isNull() && m_scaler.Draw(*frame, image.bits(), image.bytesPerLine(), image.width(), image.height()))
        painter.drawImage(QPointF(0, 0), image);
    else
        painter.fillRect(rect(), Qt::black);
}

bool VideoWidget::DrawInPlace(const DecodedFrame& frame, const QPaintEvent& event, QPainter& painter)
{
    // Writing around the painter is safe only where it would have painted every
    // pixel of the widget, unscaled, into the image the window is shown from.
    QBackingStore* store = window()->backingStore();
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    if (!store || !device || device != store->paintDevice() || device->devType() != QInternal::Image)
        return false;
    auto* target = static_cast<QImage*>(device);
    // The widget's screen pixels, its corners rounded as the toolkit rounds a widget's
    // area at a fractional ratio, so that the picture meets its neighbours exactly.
    const qreal ratio = target->devicePixelRatio();
    const QRectF logical(mapTo(window(), QPoint(0, 0)), size());
    const QRect place(QPoint(qRound(logical.left() * ratio), qRound(logical.top() * ratio)),
                      QPoint(qRound(logical.right() * ratio) - 1, qRound(logical.bottom() * ratio) - 1));
    const bool wholeWidget = QRegion(rect()).subtracted(event.region()).isEmpty();
    const bool argb = target->format() == QImage::Format_RGB32 || target->format() == QImage::Format_ARGB32 ||
                      target->format() == QImage::Format_ARGB32_Premultiplied;
    if (!wholeWidget || !argb || !target->rect().contains(place) || place.isEmpty())
        return false;
    uchar* corner = target->bits() + place.y() * target->bytesPerLine() + place.x() * 4;
    return m_scaler.Draw(frame, corner, target->bytesPerLine(), place.width(), place.height());
}

}  // namespace platform::gst
