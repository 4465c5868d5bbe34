#pragma once
// The video renderer's window: a plain child widget that paints the latest
// picture stretched over itself and hands its mouse and key input to the
// message drain. Everything here is for the UI thread.

// Our headers before GLib's: its TRUE and FALSE macros would break the constants.
#include "platform/system/win_types.h"
#include "platform/media/video_frame.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace platform::gst {

class VideoWidget final : public QWidget {
public:
    using FrameSource = std::function<std::shared_ptr<const DecodedFrame>()>;

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
    // Into the window's backing store directly, when that is where this paint goes.
    bool DrawInPlace(const DecodedFrame& frame, const QPaintEvent& event, QPainter& painter);

    FrameSource m_frames;
    FrameScaler m_scaler;
    HWND m_drain = nullptr;
};

}  // namespace platform::gst
