#include "platform/media/halve_planes.h"

#include <algorithm>

namespace platform::gst {

bool CanHalvePlanes(GstVideoFormat format)
{
    switch (format) {
    case GST_VIDEO_FORMAT_I420:
    case GST_VIDEO_FORMAT_YV12:
    case GST_VIDEO_FORMAT_Y42B:
    case GST_VIDEO_FORMAT_Y444:
    case GST_VIDEO_FORMAT_NV12:
    case GST_VIDEO_FORMAT_NV21: return true;
    default: return false;
    }
}

namespace {

guint8 Average(int a, int b, int c, int d)
{
    return guint8((a + b + c + d + 2) >> 2);
}

// One plane of `Bytes`-byte samples; a last odd row or column is averaged with itself.
template <int Bytes>
void HalvePlane(const guint8* in, int inStride, int inWidth, int inHeight, guint8* out, int outStride, int outWidth,
                int outHeight)
{
    const int pairs = std::min(outWidth, inWidth / 2);
    for (int y = 0; y < outHeight; ++y) {
        const guint8* top = in + 2 * y * inStride;
        const guint8* bottom = in + std::min(2 * y + 1, inHeight - 1) * inStride;
        guint8* row = out + y * outStride;
        // The plain loop, which the compiler can vectorize.
        for (int x = 0; x < pairs; ++x)
            for (int b = 0; b < Bytes; ++b)
                row[x * Bytes + b] = Average(top[2 * x * Bytes + b], top[(2 * x + 1) * Bytes + b],
                                             bottom[2 * x * Bytes + b], bottom[(2 * x + 1) * Bytes + b]);
        for (int x = pairs; x < outWidth; ++x)
            for (int b = 0; b < Bytes; ++b)
                row[x * Bytes + b] = Average(top[2 * x * Bytes + b], top[2 * x * Bytes + b], bottom[2 * x * Bytes + b],
                                             bottom[2 * x * Bytes + b]);
    }
}

}  // namespace

void HalvePlanes(const GstVideoFrame& in, GstVideoFrame& out)
{
    const GstVideoFormatInfo* format = in.info.finfo;
    for (guint plane = 0; plane < GST_VIDEO_FRAME_N_PLANES(&in); ++plane) {
        // The plane's first component says its size; NV12's second plane holds two.
        gint components[GST_VIDEO_MAX_COMPONENTS];
        gst_video_format_info_component(format, plane, components);
        const auto component = guint(components[0]);
        const int bytes = GST_VIDEO_FORMAT_INFO_PSTRIDE(format, component);
        const auto* from = static_cast<const guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&in, plane));
        auto* to = static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&out, plane));
        const int fromStride = GST_VIDEO_FRAME_PLANE_STRIDE(&in, plane);
        const int toStride = GST_VIDEO_FRAME_PLANE_STRIDE(&out, plane);
        const int fromWidth = GST_VIDEO_FRAME_COMP_WIDTH(&in, component);
        const int fromHeight = GST_VIDEO_FRAME_COMP_HEIGHT(&in, component);
        const int toWidth = GST_VIDEO_FRAME_COMP_WIDTH(&out, component);
        const int toHeight = GST_VIDEO_FRAME_COMP_HEIGHT(&out, component);
        if (bytes == 2)
            HalvePlane<2>(from, fromStride, fromWidth, fromHeight, to, toStride, toWidth, toHeight);
        else
            HalvePlane<1>(from, fromStride, fromWidth, fromHeight, to, toStride, toWidth, toHeight);
    }
}

}  // namespace platform::gst
