#include "platform/media/video_frame.h"

namespace platform::gst {

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

}  // namespace platform::gst
