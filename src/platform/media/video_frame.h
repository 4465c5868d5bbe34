#pragma once
// A decoded picture as it left the decoder.

#include <gst/video/video.h>

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

}  // namespace platform::gst
