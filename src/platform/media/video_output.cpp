#include "platform/media/video_output.h"

#include <utility>

#include "platform/media/video_frame.h"
#include "platform/media/video_widget.h"
#include "platform/framework/window_host.h"

namespace platform::gst {

VideoOutput::VideoOutput() = default;

VideoOutput::~VideoOutput()
{
    DestroyWidget();
}

void VideoOutput::Present(std::shared_ptr<const DecodedFrame> frame)
{
    {
        std::lock_guard lock(m_frameMutex);
        m_frame = std::move(frame);
    }
    // One request in flight is enough: the repaint takes whatever is latest then.
    if (!m_repaintQueued.exchange(true))
        QMetaObject::invokeMethod(
            &m_uiContext, [this] { Repaint(); }, Qt::QueuedConnection);
}

std::shared_ptr<const DecodedFrame> VideoOutput::LatestFrame() const
{
    std::lock_guard lock(m_frameMutex);
    return m_frame;
}

void VideoOutput::ClearFrame()
{
    std::shared_ptr<const DecodedFrame> released;
    {
        std::lock_guard lock(m_frameMutex);
        std::swap(released, m_frame);
    }
    Repaint();
}

void VideoOutput::Repaint()
{
    m_repaintQueued = false;
    if (m_widget)
        m_widget->update();
}

bool VideoOutput::SetOwner(HWND owner)
{
    m_owner = owner;
    QWidget* parent = owner ? ClientWidgetOf(owner) : nullptr;
    if (m_widget && m_widget->parentWidget() == parent)
        return true;
    DestroyWidget();
    if (!parent)
        return owner == nullptr;

    m_widget = new VideoWidget(parent, [this] { return LatestFrame(); });
    m_widget->SetMessageDrain(m_drain);
    m_widget->setGeometry(m_position.left, m_position.top, m_position.width, m_position.height);
    m_widget->setVisible(m_visible);
    return true;
}

void VideoOutput::SetMessageDrain(HWND drain)
{
    m_drain = drain;
    if (m_widget)
        m_widget->SetMessageDrain(drain);
}

void VideoOutput::SetVisible(bool visible)
{
    m_visible = visible;
    if (m_widget)
        m_widget->setVisible(visible);
}

void VideoOutput::SetPosition(const SizedRect& position)
{
    m_position = position;
    if (m_widget)
        m_widget->setGeometry(position.left, position.top, position.width, position.height);
}

QWidget* VideoOutput::Widget() const
{
    return m_widget.data();
}

void VideoOutput::DestroyWidget()
{
    // The owner may have taken the widget with it already; QPointer knows.
    if (m_widget)
        m_widget->Retire();
    m_widget = nullptr;
}

}  // namespace platform::gst
