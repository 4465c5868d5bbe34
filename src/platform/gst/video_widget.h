#pragma once
// The video renderer's window: a plain child widget that paints the latest
// picture stretched over itself and hands its mouse and key input to the
// message drain.

#include <QImage>
#include <QWidget>

#include <functional>

#include "platform/win_types.h"

namespace platform::gst {

class VideoWidget final : public QWidget {
public:
    using FrameSource = std::function<QImage()>;

    VideoWidget(QWidget* parent, FrameSource frames);

    // Null stops the forwarding.
    void SetMessageDrain(HWND drain) { m_drain = drain; }

    // Hides the widget, cuts it off from its frames and its drain, and deletes it
    // from the event loop: the graph may be released by a handler of input that
    // this widget is still forwarding.
    void Retire();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    FrameSource m_frames;
    HWND m_drain = nullptr;
};

}  // namespace platform::gst
