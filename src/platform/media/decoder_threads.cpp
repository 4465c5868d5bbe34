#include "platform/media/decoder_threads.h"

#include "platform/media/gst_handles.h"

namespace platform::gst {

namespace {

GstPadProbeReturn OnDecoderInput(GstPad* pad, GstPadProbeInfo* info, gpointer /*unused*/)
{
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
        return GST_PAD_PROBE_OK;
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    const GstStructure* format = caps ? gst_caps_get_structure(caps, 0) : nullptr;
    gint width = 0;
    gint height = 0;
    if (!format || !gst_structure_get_int(format, "width", &width) || !gst_structure_get_int(format, "height", &height))
        return GST_PAD_PROBE_OK;
    // The caps event reaches the decoder after this, and its codec opens with the count.
    if (const ObjectPtr<GstElement> decoder{gst_pad_get_parent_element(pad)})
        g_object_set(decoder.get(), "max-threads", DecoderThreadsFor(width, height), nullptr);
    return GST_PAD_PROBE_OK;
}

}  // namespace

void FitDecoderThreads(GstElement* element)
{
    GstElementFactory* factory = gst_element_get_factory(element);
    if (!factory || !g_str_has_prefix(GST_OBJECT_NAME(factory), "avdec_") ||
        !g_object_class_find_property(G_OBJECT_GET_CLASS(element), "max-threads"))
        return;
    if (const PadPtr sink{gst_element_get_static_pad(element, "sink")})
        gst_pad_add_probe(sink.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &OnDecoderInput, nullptr, nullptr);
}

}  // namespace platform::gst
