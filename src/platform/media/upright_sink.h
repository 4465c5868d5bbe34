#pragma once
// The way into the video sink: straight in, or through a turn once the stream says
// its pictures are stored turned (a phone's video). The turn joins only then: even
// idle, it costs every picture time and the decoder more frames.

// Our headers first: GLib's TRUE and FALSE macros would break the constants.
#include "platform/media/gst_handles.h"

namespace platform::gst {

// A bin around `sink` that takes its place in the pipeline. Any thread.
ElementPtr MakeUprightSink(GstElement* sink);

}  // namespace platform::gst
