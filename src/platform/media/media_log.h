#pragma once
// The player's own GStreamer debug category, "vantrel-media": why a medium failed (the
// element, its message and debug text, a missing plugin), an early open not taken over,
// an open abandoned. Silent unless asked for, as GST_DEBUG=vantrel*:4.

#include <gst/gst.h>

GST_DEBUG_CATEGORY_EXTERN(vantrel_media_debug);

namespace platform::gst {
// Registers the category; after gst_init, before anything logs.
void InitMediaLog();
}  // namespace platform::gst
