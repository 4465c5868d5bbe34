#pragma once
// How far a medium's picture decoders get: the pictures each puts out and whether
// it has ended. Noise that a type finder takes for a raw video stream decodes to
// one picture of concealment and ends; a real stream goes on.

// Our headers first: GLib's TRUE and FALSE macros would break the constants.
#include "platform/media/gst_handles.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace platform::gst {

class PictureProgress {
public:
    // Counts for `element` when it is a video decoder. Any thread.
    void Watch(GstElement* element);
    // Waits at most `bound` until a decoder has put out a second picture (true) or
    // every one has ended (false). True when the time runs out or none is watched:
    // only an end proves the stream had nothing more. The UI thread.
    bool GoesOnPastTheFirstPicture(std::chrono::milliseconds bound);

private:
    struct Decoder {
        PictureProgress* progress = nullptr;
        int pictures = 0;
        bool ended = false;
    };
    static GstPadProbeReturn OnOutput(GstPad* pad, GstPadProbeInfo* info, gpointer decoder);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Decoder> m_decoders;  // stable addresses for the probes
};

}  // namespace platform::gst
