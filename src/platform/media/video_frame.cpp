#include "platform/media/video_frame.h"

#include "platform/media/gst_handles.h"

namespace platform::gst {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "BGRA bytes are 0xAARRGGBB words only on little-endian machines");

DecodedFrame::DecodedFrame(GstSample* sample, const GstVideoFrame& frame)
    : m_sample(gst_sample_ref(sample)), m_frame(frame)
{}

DecodedFrame::~DecodedFrame()
{
    gst_video_frame_unmap(&m_frame);
    gst_sample_unref(m_sample);
}

std::shared_ptr<const DecodedFrame> DecodedFrame::FromSample(GstSample* sample)
{
    GstCaps* caps = sample ? gst_sample_get_caps(sample) : nullptr;
    GstBuffer* buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
    GstVideoInfo info;
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps))
        return nullptr;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ))
        return nullptr;
    return std::shared_ptr<const DecodedFrame>(new DecodedFrame(sample, frame));
}

FrameScaler::FrameScaler()
{
    gst_video_info_init(&m_from);
    gst_video_info_init(&m_to);
}

FrameScaler::~FrameScaler()
{
    if (m_converter)
        gst_video_converter_free(m_converter);
}

bool FrameScaler::Draw(const DecodedFrame& frame, uchar* pixels, qsizetype stride, int width, int height)
{
    if (!pixels || width <= 0 || height <= 0 || stride < qsizetype(width) * 4)
        return false;
    GstVideoInfo to;
    if (!gst_video_info_set_format(&to, GST_VIDEO_FORMAT_BGRA, guint(width), guint(height)))
        return false;
    to.stride[0] = gint(stride);
    // The last row needs only its own pixels: the target may end right after them.
    to.size = gsize(stride) * gsize(height - 1) + gsize(width) * 4;
    const GstVideoInfo& from = frame.Frame().info;
    // The converter changes pixels only, not time or fields.
    to.fps_n = from.fps_n;
    to.fps_d = from.fps_d;
    to.interlace_mode = from.interlace_mode;

    if (!m_converter || !gst_video_info_is_equal(&from, &m_from) || !gst_video_info_is_equal(&to, &m_to)) {
        if (m_converter)
            gst_video_converter_free(m_converter);
        GstStructure* options = gst_structure_new("GstVideoConverter", GST_VIDEO_CONVERTER_OPT_RESAMPLER_METHOD,
                                                  GST_TYPE_VIDEO_RESAMPLER_METHOD, GST_VIDEO_RESAMPLER_METHOD_LINEAR,
                                                  GST_VIDEO_CONVERTER_OPT_DITHER_METHOD, GST_TYPE_VIDEO_DITHER_METHOD,
                                                  GST_VIDEO_DITHER_NONE, GST_VIDEO_CONVERTER_OPT_ALPHA_MODE,
                                                  GST_TYPE_VIDEO_ALPHA_MODE, GST_VIDEO_ALPHA_MODE_SET, nullptr);
        m_converter = gst_video_converter_new(&from, &to, options);  // takes the options
        m_from = from;
        m_to = to;
        if (!m_converter)
            return false;
    }

    // The pixels are ours for the call; GStreamer only needs them as a frame.
    const MiniObjectPtr<GstBuffer> target(
        gst_buffer_new_wrapped_full(GstMemoryFlags(0), pixels, to.size, 0, to.size, nullptr, nullptr));
    GstVideoFrame out;
    if (!gst_video_frame_map(&out, &m_to, target.get(), GST_MAP_WRITE))
        return false;
    gst_video_converter_frame(m_converter, &frame.Frame(), &out);
    gst_video_frame_unmap(&out);
    return true;
}

}  // namespace platform::gst
