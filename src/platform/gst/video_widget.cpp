#include "platform/gst/video_widget.h"

#include <QEvent>
#include <QPainter>

#include <utility>

#include "platform/window_host.h"

namespace platform::gst {

namespace {

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

}  // namespace

VideoWidget::VideoWidget(QWidget* parent, FrameSource frames)
    : QWidget(parent), m_frames(std::move(frames))
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
    if (m_drain && IsInput(event->type()) && ForwardInputAsMessages(m_drain, this, event)) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void VideoWidget::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage frame = m_frames ? m_frames() : QImage();
    if (frame.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(rect(), frame);
}

}  // namespace platform::gst
