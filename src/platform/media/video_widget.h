#pragma once
// The video renderer's window: a child widget that shows the latest picture,
// made at its size in device pixels, says which size that is, and hands its
// mouse and key input to the message drain. On X it is a window of its own that
// the pictures are put on from shared memory by the thread that made them, and
// it paints only when exposed; elsewhere it copies the picture onto itself.
// Everything here is for the UI thread.

// Our headers before GLib's: its TRUE and FALSE macros would break the constants.
#include "platform/system/win_types.h"
#include "platform/media/screen_pictures.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace platform::gst {

class VideoWidget final : public QWidget {
public:
    using PictureSource = std::function<std::shared_ptr<const ScreenPicture>()>;
    using SizeWanted = std::function<void(QSize)>;
    using ShowOnSurface = std::function<void()>;

    VideoWidget(QWidget* parent, PictureSource pictures, SizeWanted sizeWanted);

    // Makes the widget a window of its own with a surface pictures can be put on,
    // where the window system has one; `show` then paints it when it is exposed.
    std::shared_ptr<PictureSurface> MakeSurface(ShowOnSurface show);

    // Null stops the forwarding.
    void SetMessageDrain(HWND drain) { m_drain = drain; }

    // Hides the widget, cuts it off from its pictures and its drain, and deletes it
    // from the event loop: the graph may be released by a handler of input that
    // this widget is still forwarding.
    void Retire();

    QPaintEngine* paintEngine() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The widget's pixels in the window's backing store, its corners rounded as the
    // toolkit rounds a widget's area at a fractional ratio, so that the picture
    // meets its neighbours exactly.
    QRect PlaceOnScreen() const;
    void WantSize(QSize size);
    // Into the window's backing store directly, when that is where this paint goes.
    bool CopyInPlace(const QImage& pixels, const QPaintEvent& event, QPainter& painter);

    PictureSource m_pictures;
    SizeWanted m_sizeWanted;
    ShowOnSurface m_showOnSurface;
    QSize m_wanted;
    HWND m_drain = nullptr;
};

}  // namespace platform::gst
