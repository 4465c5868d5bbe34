#include "platform/media/video_output.h"

#include <utility>

#include "platform/media/video_widget.h"
#include "platform/framework/window_host.h"

namespace platform::gst {

VideoOutput::VideoOutput()
    : m_pictures([this] {
          // One request in flight is enough: the repaint takes whatever is latest then.
          if (!m_repaintQueued.exchange(true))
              QMetaObject::invokeMethod(
                  &m_uiContext, [this] { Repaint(); }, Qt::QueuedConnection);
      })
{}

VideoOutput::~VideoOutput()
{
    DestroyWidget();
}

void VideoOutput::Present(std::shared_ptr<const DecodedFrame> frame)
{
    m_pictures.Present(std::move(frame));
}

void VideoOutput::ClearFrame()
{
    m_pictures.Clear();
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

    m_widget = new VideoWidget(
        parent, [this] { return m_pictures.Latest(); }, [this](QSize size) { m_pictures.SetTargetSize(size); });
    m_widget->SetMessageDrain(m_drain);
    m_pictures.SetSurface(m_widget->MakeSurface([this] { m_pictures.ShowOnSurface(); }));
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
    if (!m_widget)
        return;
    // Until the new size is set, a picture for the old one could still be put on the resized window.
    const auto holdPuts = m_pictures.HoldPuts();
    m_widget->setGeometry(position.left, position.top, position.width, position.height);
}

QWidget* VideoOutput::Widget() const
{
    return m_widget.data();
}

void VideoOutput::DestroyWidget()
{
    // No put may reach a window that is going.
    m_pictures.SetSurface(nullptr);
    // The owner may have taken the widget with it already; QPointer knows.
    if (m_widget)
        m_widget->Retire();
    m_widget = nullptr;
    m_pictures.SetTargetSize(QSize());
}

}  // namespace platform::gst
