#pragma once
// How many threads a video decoder decodes with. Each frame thread of libav's
// decoders holds decoded pictures of its own and holds the first picture back
// by a frame; one core decodes pictures up to HD many times faster than they
// play, so those decode on one thread and larger ones on as many as it likes.

#include <gst/gst.h>

namespace platform::gst {

inline constexpr long long kOneThreadPixels = 1280LL * 720LL;

// libav's max-threads for a picture of that size: 1, or 0 for its own choice.
constexpr int DecoderThreadsFor(int width, int height)
{
    if (width <= 0 || height <= 0)
        return 0;
    return static_cast<long long>(width) * height <= kOneThreadPixels ? 1 : 0;
}

// For an element just added to a pipeline: a libav video decoder gets its
// thread count from each picture size it is given, before it opens its codec.
void FitDecoderThreads(GstElement* element);

}  // namespace platform::gst
