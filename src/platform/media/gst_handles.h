#pragma once
// Owning handles for GStreamer and GLib references, so every early return
// gives its references back.

#include <gst/gst.h>

#include <memory>

namespace platform::gst {

struct ObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct CharFree {
    void operator()(gchar* text) const { g_free(text); }
};

template <typename T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;

template <typename T>
struct MiniObjectDeleter {
    void operator()(T* object) const { gst_mini_object_unref(GST_MINI_OBJECT_CAST(object)); }
};
template <typename T>
using MiniObjectPtr = std::unique_ptr<T, MiniObjectDeleter<T>>;

using ElementPtr = ObjectPtr<GstElement>;
using BusPtr = ObjectPtr<GstBus>;
using PadPtr = ObjectPtr<GstPad>;
using CapsPtr = MiniObjectPtr<GstCaps>;
using SamplePtr = MiniObjectPtr<GstSample>;
using MessagePtr = MiniObjectPtr<GstMessage>;
using UriPtr = MiniObjectPtr<GstUri>;
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;
using CharPtr = std::unique_ptr<gchar, CharFree>;

// Takes a floating reference (a new element) so the handle owns it outright.
inline ElementPtr AdoptElement(GstElement* element)
{
    return ElementPtr(element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
}

}  // namespace platform::gst
