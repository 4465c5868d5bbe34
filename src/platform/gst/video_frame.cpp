#include "platform/gst/video_frame.h"

#include <gst/video/video.h>

#include <memory>

namespace platform::gst {

namespace {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "BGRx is RGB32 only on little-endian machines");

// A sample whose buffer is mapped for reading; made only once the map succeeded.
struct MappedFrame {
    MappedFrame(GstSample* mappedSample, const GstVideoFrame& mappedFrame)
        : sample(gst_sample_ref(mappedSample)), frame(mappedFrame) {}
    ~MappedFrame()
    {
        gst_video_frame_unmap(&frame);
        gst_sample_unref(sample);
    }
    MappedFrame(const MappedFrame&) = delete;
    MappedFrame& operator=(const MappedFrame&) = delete;

    GstSample* sample;
    GstVideoFrame frame;
};

void ReleaseMappedFrame(void* info)
{
    delete static_cast<MappedFrame*>(info);
}

}  // namespace

QImage ImageFromSample(GstSample* sample)
{
    GstCaps* caps = sample ? gst_sample_get_caps(sample) : nullptr;
    GstBuffer* buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
    GstVideoInfo info;
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps))
        return {};
    if (GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGRx)
        return {};

    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ))
        return {};
    auto mapped = std::make_unique<MappedFrame>(sample, frame);

    // BGRx bytes are 0xffRRGGBB words on a little-endian machine: RGB32.
    const auto* pixels = static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&mapped->frame, 0));
    const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&mapped->frame, 0);
    QImage image(pixels, GST_VIDEO_FRAME_WIDTH(&mapped->frame), GST_VIDEO_FRAME_HEIGHT(&mapped->frame),
                 stride, QImage::Format_RGB32, ReleaseMappedFrame, mapped.get());
    if (image.isNull())
        return {};  // the unique_ptr still owns the mapping
    mapped.release();
    return image;
}

}  // namespace platform::gst
