#include "platform/media/screen_pictures.h"

#include <atomic>
#include <utility>

#include "platform/media/frame_scaler.h"
#include "platform/media/video_frame.h"

namespace platform::gst {

ScreenPictures::ScreenPictures(std::function<void()> ready)
    : m_ready(std::move(ready)), m_uiThread(std::this_thread::get_id()),
      m_streamingScaler(std::make_unique<FrameScaler>(ConversionThreads())),
      m_workerScaler(std::make_unique<FrameScaler>(ConversionThreads()))
{}

ScreenPictures::~ScreenPictures()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

void ScreenPictures::Present(std::shared_ptr<const DecodedFrame> frame)
{
    QSize target;
    std::shared_ptr<PictureSurface> surface;
    {
        std::lock_guard lock(m_mutex);
        m_frame = frame;
        target = m_target;
        surface = m_surface;
        if (frame && !target.isEmpty() && std::this_thread::get_id() == m_uiThread) {
            WakeWorker();
            return;
        }
    }
    if (!frame || target.isEmpty())
        return;
    std::lock_guard streaming(m_streamingMutex);
    std::shared_ptr<ScreenPicture> picture =
        Convert(*m_streamingScaler, m_streamingSpare, std::move(frame), target, surface);
    if (picture && Publish(picture, m_streamingSpare))
        Deliver(picture);
}

void ScreenPictures::Deliver(const std::shared_ptr<ScreenPicture>& picture)
{
    std::lock_guard put(m_putMutex);
    if (!PutIfCurrent(picture))
        m_ready();
}

bool ScreenPictures::PutIfCurrent(const std::shared_ptr<ScreenPicture>& picture)
{
    std::shared_ptr<PictureSurface> surface;
    {
        std::lock_guard lock(m_mutex);
        if (!m_surface || picture != m_picture || picture->madeFor != m_surface.get() ||
            picture->pixels.size() != m_target)
            return false;
        surface = m_surface;
    }
    return surface->Put(picture->pixels);
}

void ScreenPictures::SetSurface(std::shared_ptr<PictureSurface> surface)
{
    std::lock_guard put(m_putMutex);
    std::lock_guard lock(m_mutex);
    if (surface == m_surface)
        return;
    m_surface = std::move(surface);
    // What is shown was made for the other surface.
    if (m_frame && !m_target.isEmpty())
        WakeWorker();
}

bool ScreenPictures::ShowOnSurface()
{
    std::lock_guard put(m_putMutex);
    std::shared_ptr<PictureSurface> surface;
    std::shared_ptr<ScreenPicture> picture;
    {
        std::lock_guard lock(m_mutex);
        surface = m_surface;
        picture = m_picture;
    }
    if (!surface)
        return false;
    if (!picture)
        surface->Clear();
    else
        PutIfCurrent(picture);
    return true;
}

void ScreenPictures::Clear()
{
    std::lock_guard lock(m_mutex);
    m_frame.reset();
    m_picture.reset();
}

std::shared_ptr<const ScreenPicture> ScreenPictures::Latest() const
{
    std::lock_guard lock(m_mutex);
    return m_picture;
}

void ScreenPictures::SetTargetSize(QSize size)
{
    std::lock_guard lock(m_mutex);
    if (size == m_target)
        return;
    m_target = size;
    if (m_frame && !size.isEmpty())
        WakeWorker();
}

void ScreenPictures::WakeWorker()
{
    m_workWaiting = true;
    if (!m_worker.joinable())
        m_worker = std::thread([this] { WorkerLoop(); });
    m_wake.notify_one();
}

std::shared_ptr<ScreenPicture> ScreenPictures::Convert(FrameScaler& scaler, std::shared_ptr<ScreenPicture>& spare,
                                                       std::shared_ptr<const DecodedFrame> frame, QSize size,
                                                       const std::shared_ptr<PictureSurface>& surface)
{
    // A picture nobody holds any more lends its pixels, so that a large picture
    // is not allocated and faulted in afresh for every frame.
    std::shared_ptr<ScreenPicture> picture;
    if (spare && spare.use_count() == 1 && spare->pixels.size() == size && spare->madeFor == surface.get()) {
        std::atomic_thread_fence(std::memory_order_acquire);
        picture = std::move(spare);
    } else {
        spare.reset();
        picture = std::make_shared<ScreenPicture>();
        if (surface)
            picture->pixels = surface->MakeImage(size);
        if (!picture->pixels.isNull())
            picture->madeFor = surface.get();
        else
            picture->pixels = QImage(size, QImage::Format_RGB32);
        if (picture->pixels.isNull())
            return nullptr;
    }
    QImage& pixels = picture->pixels;
    if (!scaler.Draw(*frame, pixels.bits(), pixels.bytesPerLine(), pixels.width(), pixels.height()))
        return nullptr;
    picture->source = std::move(frame);
    return picture;
}

bool ScreenPictures::Publish(std::shared_ptr<ScreenPicture> picture, std::shared_ptr<ScreenPicture>& spare)
{
    std::lock_guard lock(m_mutex);
    const bool newerFrame = picture->source != m_frame;
    const bool rightSizeShown = m_picture && m_picture->source == picture->source &&
                                m_picture->pixels.size() == m_target && m_picture->madeFor == m_surface.get();
    if (newerFrame || rightSizeShown) {
        spare = std::move(picture);
        return false;
    }
    spare = std::exchange(m_picture, std::move(picture));
    // Once nobody paints it, its frame can go back to the decoder.
    if (spare && spare.use_count() == 1)
        spare->source.reset();
    return true;
}

void ScreenPictures::WorkerLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || m_workWaiting; });
        if (m_stopping)
            return;
        m_workWaiting = false;
        std::shared_ptr<const DecodedFrame> frame = m_frame;
        const QSize target = m_target;
        const std::shared_ptr<PictureSurface> surface = m_surface;
        const bool shown = m_picture && m_picture->source == frame && m_picture->pixels.size() == target &&
                           m_picture->madeFor == surface.get();
        if (!frame || target.isEmpty() || shown)
            continue;
        lock.unlock();
        std::shared_ptr<ScreenPicture> spare;
        std::shared_ptr<ScreenPicture> picture = Convert(*m_workerScaler, spare, std::move(frame), target, surface);
        if (picture && Publish(picture, spare))
            Deliver(picture);
        // The worker runs seldom (a resize while paused): it keeps no pixels between runs.
        spare.reset();
        lock.lock();
    }
}

}  // namespace platform::gst
