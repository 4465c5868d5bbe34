#include "platform/media/frame_scaler.h"

#include <algorithm>

#include "platform/media/halve_planes.h"
#include "platform/media/video_frame.h"

namespace platform::gst {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "BGRA bytes are 0xAARRGGBB words only on little-endian machines");

unsigned ConversionThreads()
{
    return std::clamp(g_get_num_processors(), 1u, 4u);
}

FrameScaler::Converter::~Converter()
{
    if (m_converter)
        gst_video_converter_free(m_converter);
}

bool FrameScaler::Converter::Prepare(const GstVideoInfo& from, const GstVideoInfo& to, unsigned threads, unsigned taps)
{
    if (m_converter && taps == m_taps && gst_video_info_is_equal(&from, &m_from) && gst_video_info_is_equal(&to, &m_to))
        return true;
    if (m_converter)
        gst_video_converter_free(m_converter);
    GstStructure* options = gst_structure_new(
        "GstVideoConverter", GST_VIDEO_CONVERTER_OPT_RESAMPLER_METHOD, GST_TYPE_VIDEO_RESAMPLER_METHOD,
        GST_VIDEO_RESAMPLER_METHOD_LINEAR, GST_VIDEO_CONVERTER_OPT_DITHER_METHOD, GST_TYPE_VIDEO_DITHER_METHOD,
        GST_VIDEO_DITHER_NONE, GST_VIDEO_CONVERTER_OPT_ALPHA_MODE, GST_TYPE_VIDEO_ALPHA_MODE, GST_VIDEO_ALPHA_MODE_SET,
        GST_VIDEO_CONVERTER_OPT_THREADS, G_TYPE_UINT, threads, nullptr);
    if (taps != 0)
        gst_structure_set(options, GST_VIDEO_CONVERTER_OPT_RESAMPLER_TAPS, G_TYPE_UINT, taps, nullptr);
    m_converter = gst_video_converter_new(&from, &to, options);  // takes the options
    m_from = from;
    m_to = to;
    m_taps = taps;
    return m_converter != nullptr;
}

bool FrameScaler::Stage::Map(const GstVideoInfo& to)
{
    Release();
    if (!m_buffer || !gst_video_info_is_equal(&to, &m_info)) {
        m_buffer.reset(gst_buffer_new_allocate(nullptr, to.size, nullptr));
        m_info = to;
    }
    m_mapped = m_buffer && gst_video_frame_map(&m_frame, &m_info, m_buffer.get(), GST_MAP_READWRITE);
    return m_mapped;
}

bool FrameScaler::Stage::Make(const GstVideoFrame& in, const GstVideoInfo& to, unsigned threads, unsigned taps)
{
    if (!m_converter.Prepare(in.info, to, threads, taps) || !Map(to))
        return false;
    m_converter.Run(in, m_frame);
    return true;
}

bool FrameScaler::Stage::Halve(const GstVideoFrame& in, const GstVideoInfo& to)
{
    if (!Map(to))
        return false;
    HalvePlanes(in, m_frame);
    return true;
}

void FrameScaler::Stage::Release()
{
    if (m_mapped)
        gst_video_frame_unmap(&m_frame);
    m_mapped = false;
}

namespace {

// `from`'s format, fields, colours and rate at another size.
bool Resized(const GstVideoInfo& from, GstVideoFormat format, int width, int height, GstVideoInfo& to)
{
    if (!gst_video_info_set_interlaced_format(&to, format, GST_VIDEO_INFO_INTERLACE_MODE(&from), guint(width),
                                              guint(height)))
        return false;
    if (format == GST_VIDEO_INFO_FORMAT(&from)) {
        to.colorimetry = from.colorimetry;
        to.chroma_site = from.chroma_site;
    }
    to.fps_n = from.fps_n;
    to.fps_d = from.fps_d;
    return true;
}

}  // namespace

FrameScaler::FrameScaler(unsigned threads) : m_threads(std::max(threads, 1u)) {}

bool FrameScaler::Draw(const DecodedFrame& frame, uchar* pixels, qsizetype stride, int width, int height)
{
    if (!pixels || width <= 0 || height <= 0 || stride < qsizetype(width) * 4)
        return false;
    const GstVideoFrame& decoded = frame.Frame();
    GstVideoInfo to;
    if (!Resized(decoded.info, GST_VIDEO_FORMAT_BGRA, width, height, to))
        return false;
    to.stride[0] = gint(stride);
    // The last row needs only its own pixels: the target may end right after them.
    to.size = gsize(stride) * gsize(height - 1) + gsize(width) * 4;

    // The pixels are ours for the call; GStreamer only needs them as a frame.
    const MiniObjectPtr<GstBuffer> target(
        gst_buffer_new_wrapped_full(GstMemoryFlags(0), pixels, to.size, 0, to.size, nullptr, nullptr));
    GstVideoFrame out;
    if (!gst_video_frame_map(&out, &to, target.get(), GST_MAP_WRITE))
        return false;

    const GstVideoFrame* in = &decoded;
    GstVideoInfo stage;
    if (width < GST_VIDEO_INFO_WIDTH(&decoded.info) && height < GST_VIDEO_INFO_HEIGHT(&decoded.info) &&
        GST_VIDEO_INFO_IS_YUV(&decoded.info)) {
        for (Stage& half : m_halves) {
            const int w = GST_VIDEO_INFO_WIDTH(&in->info) / 2, h = GST_VIDEO_INFO_HEIGHT(&in->info) / 2;
            const GstVideoFormat format = GST_VIDEO_INFO_FORMAT(&in->info);
            if (w < width || h < height || !Resized(in->info, format, w, h, stage))
                break;
            // Two taps of the converter average exact pairs too, for the other formats.
            if (!(CanHalvePlanes(format) ? half.Halve(*in, stage) : half.Make(*in, stage, m_threads, 2)))
                break;
            in = &half.Frame();
        }
    }
    // What is left is scaled apart from the conversion, with two taps, which is several
    // times cheaper than scaling inside it: made smaller (less than a halving), in the
    // decoder's format, where a pixel has fewer bytes, and then converted at the size
    // wanted; made larger, converted at its size and then scaled as BGRA, so that the
    // larger picture is written once.
    const int w = GST_VIDEO_INFO_WIDTH(&in->info), h = GST_VIDEO_INFO_HEIGHT(&in->info);
    unsigned taps = 0;
    if ((w != width || h != height) && GST_VIDEO_INFO_IS_YUV(&in->info)) {
        if (w >= width && h >= height) {
            if (Resized(in->info, GST_VIDEO_INFO_FORMAT(&in->info), width, height, stage) &&
                m_smaller.Make(*in, stage, m_threads, 2))
                in = &m_smaller.Frame();
        } else if (Resized(in->info, GST_VIDEO_FORMAT_BGRA, w, h, stage) && m_unscaled.Make(*in, stage, m_threads, 0)) {
            in = &m_unscaled.Frame();
            taps = 2;
        }
    }
    const bool drawn = m_last.Prepare(in->info, to, m_threads, taps);
    if (drawn)
        m_last.Run(*in, out);
    for (Stage& half : m_halves)
        half.Release();
    m_unscaled.Release();
    m_smaller.Release();
    gst_video_frame_unmap(&out);
    return drawn;
}

}  // namespace platform::gst
