#pragma once
// A picture halved in its own format by averaging each 2 x 2 block, for the
// 8-bit planar and semi-planar formats decoders give. GStreamer's scaler does
// this too, but several times slower at common sizes.

#include <gst/video/video.h>

namespace platform::gst {

// Whether HalvePlanes takes frames of `format`.
bool CanHalvePlanes(GstVideoFormat format);

// `out` has `in`'s format at half its size (rounded down). Any thread.
void HalvePlanes(const GstVideoFrame& in, GstVideoFrame& out);

}  // namespace platform::gst
