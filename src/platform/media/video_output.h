#pragma once
// What the graph's video window is: its owner, place, visibility and message
// drain, the child widget that shows the picture, and the latest picture.
// Everything here is for the UI thread except Present, which the streaming
// thread calls for each new picture.

#include <QObject>
#include <QPointer>

#include <atomic>
#include <memory>

#include "platform/media/screen_pictures.h"
#include "platform/system/win_types.h"

namespace platform::gst {

class DecodedFrame;
class VideoWidget;

class VideoOutput {
public:
    VideoOutput();
    ~VideoOutput();
    VideoOutput(const VideoOutput&) = delete;
    VideoOutput& operator=(const VideoOutput&) = delete;

    // Any thread. Makes the picture for the widget's size and asks the widget to
    // repaint later; never waits for the UI thread.
    void Present(std::shared_ptr<const DecodedFrame> frame);
    // Forgets the picture (a new medium is about to be rendered).
    void ClearFrame();

    // False when `owner` is not a live window; the owner is remembered anyway.
    bool SetOwner(HWND owner);
    HWND Owner() const { return m_owner; }
    void SetMessageDrain(HWND drain);
    void SetVisible(bool visible);
    bool Visible() const { return m_visible; }
    // In the owner's client coordinates.
    void SetPosition(const SizedRect& position);
    SizedRect Position() const { return m_position; }

    // The child widget, or null while there is no owner.
    QWidget* Widget() const;

private:
    void DestroyWidget();
    void Repaint();

    std::atomic<bool> m_repaintQueued{false};
    // Lives in the UI thread: queued repaint requests are delivered through it,
    // and dropped with it.
    QObject m_uiContext;

    HWND m_owner = nullptr;
    HWND m_drain = nullptr;
    bool m_visible = false;
    SizedRect m_position;
    QPointer<VideoWidget> m_widget;
    // Last: its threads end before what their callback touches goes.
    ScreenPictures m_pictures;
};

}  // namespace platform::gst
