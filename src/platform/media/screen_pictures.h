#pragma once
// The pictures the video window shows, made at the window's size in device
// pixels away from the UI thread: a new frame is converted on the thread that
// presents it (GStreamer's streaming thread), and the frame on show is converted
// again on a worker thread when the size changes. The UI thread only copies
// pixels that are ready.
//
// With a surface of the window system, the thread that made a picture puts it
// there itself, and the UI thread is not told; without one, the ready callback
// asks the UI thread to copy it.
//
// Threads: made, sized, given its surface and destroyed on the UI thread;
// Present, Clear, Latest and ShowOnSurface on any thread. The ready callback runs
// on the thread that made the picture and must not wait for the UI thread.

#include <QImage>
#include <QSize>

#include "platform/media/picture_surface.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform::gst {

class DecodedFrame;
class FrameScaler;

// A frame converted for the screen. Never changed once it is made.
struct ScreenPicture {
    std::shared_ptr<const DecodedFrame> source;
    QImage pixels;                            // Format_RGB32, at the size it was made for
    const PictureSurface* madeFor = nullptr;  // the surface whose memory holds the pixels
};

class ScreenPictures {
public:
    explicit ScreenPictures(std::function<void()> ready);
    ~ScreenPictures();
    ScreenPictures(const ScreenPictures&) = delete;
    ScreenPictures& operator=(const ScreenPictures&) = delete;

    // The UI thread hands the frame to the worker; any other thread converts it
    // itself, so that a streaming thread feels the cost as a sink does.
    void Present(std::shared_ptr<const DecodedFrame> frame);
    void Clear();
    std::shared_ptr<const ScreenPicture> Latest() const;

    // The size in device pixels the window shows pictures at. An empty size keeps
    // frames unconverted until there is one.
    void SetTargetSize(QSize size);

    // Null goes back to the ready callback. Waits for a put in progress.
    void SetSurface(std::shared_ptr<PictureSurface> surface);
    // Puts the latest picture on the surface if it was made for it at the size
    // wanted, or clears the surface when there is no picture; false without a surface.
    bool ShowOnSurface();
    // No put starts while the lock is held: a window being resized holds it until
    // the new size is set, so that no picture for the old size reaches it.
    std::unique_lock<std::recursive_mutex> HoldPuts() { return std::unique_lock(m_putMutex); }

private:
    // Makes `frame` at `size`, reusing `spare`'s pixels when nobody else holds them,
    // in the surface's memory when there is one.
    static std::shared_ptr<ScreenPicture> Convert(FrameScaler& scaler, std::shared_ptr<ScreenPicture>& spare,
                                                  std::shared_ptr<const DecodedFrame> frame, QSize size,
                                                  const std::shared_ptr<PictureSurface>& surface);
    // Hands a newly published picture on: to the surface, else to the ready callback.
    void Deliver(const std::shared_ptr<ScreenPicture>& picture);
    // Under m_putMutex: puts `picture` if it is still the latest, for the surface, at the size wanted.
    bool PutIfCurrent(const std::shared_ptr<ScreenPicture>& picture);
    // Shows the picture unless a newer frame, or this frame at the size wanted, is
    // shown already; what is not shown, or no longer, becomes `spare`.
    bool Publish(std::shared_ptr<ScreenPicture> picture, std::shared_ptr<ScreenPicture>& spare);
    // Under m_mutex.
    void WakeWorker();
    void WorkerLoop();

    std::function<void()> m_ready;
    const std::thread::id m_uiThread;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::shared_ptr<const DecodedFrame> m_frame;
    std::shared_ptr<ScreenPicture> m_picture;
    std::shared_ptr<PictureSurface> m_surface;
    QSize m_target;
    bool m_workWaiting = false;
    bool m_stopping = false;

    // Taken before m_mutex, never after; the UI thread may take it again while it holds it.
    std::recursive_mutex m_putMutex;

    // Each used by its own thread only.
    std::unique_ptr<FrameScaler> m_streamingScaler;
    std::shared_ptr<ScreenPicture> m_streamingSpare;
    std::mutex m_streamingMutex;  // more than one streaming thread may present
    std::unique_ptr<FrameScaler> m_workerScaler;
    std::thread m_worker;
};

}  // namespace platform::gst
