#pragma once
// Errors that a bin keeps from its bus. decodebin holds back the errors of each
// element it plugs until the element has started, and drops what it held then:
// a demuxer whose own thread fails in that moment (a file with no stream it can
// read) is never heard of, and nothing else ever moves. Here every error an
// element posts is heard before any bin can keep it.

#include <gst/gst.h>

namespace platform::gst {

using ErrorHeard = void (*)(GstElement* source, GstMessage* error, gpointer data);

// From now until UnwatchErrors, `heard` is called for every error posted by
// `pipeline` or an element inside it, on the posting thread, before the
// pipeline's bins handle it.
void WatchErrors(GstElement* pipeline, ErrorHeard heard, gpointer data);
// Only once no thread of the pipeline runs (in NULL), so no call is under way.
void UnwatchErrors(GstElement* pipeline);

}  // namespace platform::gst
