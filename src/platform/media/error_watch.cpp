#include "platform/media/error_watch.h"

#include "platform/media/gst_handles.h"

namespace platform::gst {

namespace {

struct Watch {
    ErrorHeard heard;
    gpointer data;
};

GQuark WatchQuark()
{
    static const GQuark quark = g_quark_from_static_string("vantrel-error-watch");
    return quark;
}

// A tracer only to hold the hook: GStreamer calls its hooks for every message
// any element posts, before the message reaches a bus.
struct VantrelErrorTracer {
    GstTracer parent;
};
struct VantrelErrorTracerClass {
    GstTracerClass parent;
};
G_DEFINE_TYPE(VantrelErrorTracer, vantrel_error_tracer, GST_TYPE_TRACER)
void vantrel_error_tracer_class_init(VantrelErrorTracerClass* /*klass*/) {}
void vantrel_error_tracer_init(VantrelErrorTracer* /*tracer*/) {}

void OnMessagePosted(GstTracer* /*tracer*/, guint64 /*timestamp*/, GstElement* element, GstMessage* message)
{
    if (GST_MESSAGE_TYPE(message) != GST_MESSAGE_ERROR)
        return;
    // The watch sits on the outermost bin.
    ObjectPtr<GstObject> top(GST_OBJECT(gst_object_ref(element)));
    while (GstObject* parent = gst_object_get_parent(top.get()))
        top.reset(parent);
    if (const auto* watch = static_cast<const Watch*>(g_object_get_qdata(G_OBJECT(top.get()), WatchQuark())))
        watch->heard(element, message, watch->data);
}

void InstallHook()
{
    // Lives as long as the process: GStreamer's hook table keeps it.
    static const bool installed = [] {
        const ObjectPtr<GstTracer> tracer(
            GST_TRACER(gst_object_ref_sink(g_object_new(vantrel_error_tracer_get_type(), nullptr))));
        gst_tracing_register_hook(tracer.get(), "element-post-message-pre", G_CALLBACK(&OnMessagePosted));
        return true;
    }();
    (void)installed;
}

}  // namespace

void WatchErrors(GstElement* pipeline, ErrorHeard heard, gpointer data)
{
    InstallHook();
    g_object_set_qdata_full(G_OBJECT(pipeline), WatchQuark(), new Watch{heard, data},
                            [](gpointer watch) { delete static_cast<Watch*>(watch); });
}

void UnwatchErrors(GstElement* pipeline)
{
    g_object_set_qdata(G_OBJECT(pipeline), WatchQuark(), nullptr);
}

}  // namespace platform::gst
