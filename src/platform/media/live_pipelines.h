#pragma once
// A count of the graph's pipelines that GStreamer has not finalised yet, so
// that a check can tell whether a released medium left its pipeline behind.

#include <gst/gst.h>

namespace platform::gst {

// Counts `pipeline` from now until its last reference is gone.
void CountWhileAlive(GstElement* pipeline);

// Pipelines counted and not finalised yet; any thread.
int LivePipelines();

}  // namespace platform::gst
