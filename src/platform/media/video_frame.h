#pragma once
// A decoded picture as it left the decoder, and the one step that turns it into
// screen pixels: colour conversion and scaling together, straight into the
// pixels the window is painted from.

#include <gst/video/video.h>

#include <QtGlobal>

#include <memory>

namespace platform::gst {

// The formats the graph's video sink takes; anything else is converted before it.
inline constexpr const char* kDecodedFormats = "{ I420, YV12, NV12, NV21, Y42B, Y444, YUY2, UYVY, BGRx, BGRA }";

// A sample mapped for reading, kept alive with the mapping for as long as the
// frame lives. Any thread may make one and hand it on; reading is thread-safe.
class DecodedFrame {
public:
    // Null when the sample holds no picture the caps describe.
    static std::shared_ptr<const DecodedFrame> FromSample(GstSample* sample);
    ~DecodedFrame();
    DecodedFrame(const DecodedFrame&) = delete;
    DecodedFrame& operator=(const DecodedFrame&) = delete;

    const GstVideoFrame& Frame() const { return m_frame; }

private:
    DecodedFrame(GstSample* sample, const GstVideoFrame& frame);
    GstSample* m_sample;
    GstVideoFrame m_frame;
};

// Draws frames into 32-bit 0xAARRGGBB pixels, opaque, scaled to the size given.
// It keeps its converter while the frame's format and the target stay the same.
// For one thread at a time.
class FrameScaler {
public:
    FrameScaler();
    ~FrameScaler();
    FrameScaler(const FrameScaler&) = delete;
    FrameScaler& operator=(const FrameScaler&) = delete;

    // `pixels` is the top-left pixel of the target; its rows are `stride` bytes apart.
    bool Draw(const DecodedFrame& frame, uchar* pixels, qsizetype stride, int width, int height);

private:
    GstVideoConverter* m_converter = nullptr;
    GstVideoInfo m_from;
    GstVideoInfo m_to;
};

}  // namespace platform::gst
