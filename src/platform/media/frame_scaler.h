#pragma once
// The one step that turns a decoded picture into screen pixels: colour
// conversion and scaling, straight into the pixels given.

#include <gst/video/video.h>

#include <QtGlobal>

#include <array>

#include "platform/media/gst_handles.h"

namespace platform::gst {

class DecodedFrame;

// The threads one conversion spreads over: the machine's cores, at most four.
unsigned ConversionThreads();

// Draws frames into 32-bit 0xAARRGGBB pixels, opaque, scaled to the size given.
// The scaling is done where it costs least: a picture made much smaller is first
// halved in the decoder's own format (fewer bytes to a pixel, each 2 x 2 block
// averaged) while it stays at least the size wanted; what is left of a smaller
// size is scaled in that format too, then converted; a picture made larger is
// converted at its size and then scaled as BGRA. It keeps its converters and
// buffers while the frame's format and the target stay the same.
// For one thread at a time.
class FrameScaler {
public:
    explicit FrameScaler(unsigned threads = 1);
    FrameScaler(const FrameScaler&) = delete;
    FrameScaler& operator=(const FrameScaler&) = delete;

    // `pixels` is the top-left pixel of the target; its rows are `stride` bytes apart.
    bool Draw(const DecodedFrame& frame, uchar* pixels, qsizetype stride, int width, int height);

private:
    // One converter, made again only when what it converts between changes.
    class Converter {
    public:
        Converter() = default;
        Converter(const Converter&) = delete;
        Converter& operator=(const Converter&) = delete;
        ~Converter();
        // `taps` 0 lets the converter choose.
        bool Prepare(const GstVideoInfo& from, const GstVideoInfo& to, unsigned threads, unsigned taps);
        void Run(const GstVideoFrame& in, GstVideoFrame& out) { gst_video_converter_frame(m_converter, &in, &out); }

    private:
        GstVideoConverter* m_converter = nullptr;
        GstVideoInfo m_from{};
        GstVideoInfo m_to{};
        unsigned m_taps = 0;
    };

    // A picture on its way, in a buffer of its own; mapped from Make or Halve to Release.
    class Stage {
    public:
        bool Make(const GstVideoFrame& in, const GstVideoInfo& to, unsigned threads, unsigned taps);
        // `to` is `in` at half its size.
        bool Halve(const GstVideoFrame& in, const GstVideoInfo& to);
        const GstVideoFrame& Frame() const { return m_frame; }
        void Release();

    private:
        bool Map(const GstVideoInfo& to);

        Converter m_converter;
        MiniObjectPtr<GstBuffer> m_buffer;
        GstVideoInfo m_info{};
        GstVideoFrame m_frame{};
        bool m_mapped = false;
    };

    // Enough to take 8K down to a thumbnail.
    static constexpr int kMostHalvings = 6;

    unsigned m_threads;
    std::array<Stage, kMostHalvings> m_halves;
    Stage m_smaller;
    Stage m_unscaled;
    Converter m_last;
};

}  // namespace platform::gst
