#pragma once
// A medium's cover picture as a picture the video window shows: decoded from the
// bytes the medium stores (PNG, JPEG...) into one raw frame. Any thread.

#include <gst/gst.h>

#include <cstdint>
#include <vector>

#include "platform/media/gst_handles.h"

namespace platform::gst {

// A cover wider or taller than this is shown at this size, its proportions kept,
// so that a damaged or extreme one costs bounded time and memory.
inline constexpr int kLargestCoverSide = 4096;

// One BGRx frame of the cover's size; null when the bytes are no picture this
// machine can decode.
SamplePtr DecodeCover(const std::vector<std::uint8_t>& bytes);

}  // namespace platform::gst
