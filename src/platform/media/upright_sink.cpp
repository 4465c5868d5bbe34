#include "platform/media/upright_sink.h"

#include <gst/gst.h>

namespace platform::gst {

namespace {

// GstVideoOrientationMethod: turned as the stream's image-orientation tag says, from then on.
constexpr gint kOrientationAuto = 8;

bool SaysTurned(GstEvent* event)
{
    GstTagList* tags = nullptr;
    gst_event_parse_tag(event, &tags);
    gchar* raw = nullptr;
    if (!tags || !gst_tag_list_get_string(tags, GST_TAG_IMAGE_ORIENTATION, &raw))
        return false;
    const CharPtr orientation(raw);
    return g_strcmp0(orientation.get(), "rotate-0") != 0;
}

// On the bin's entrance, on the streaming thread, before the tag goes on: the turn is put
// between the entrance and the sink, and the stream's events go to it first.
GstPadProbeReturn OnEntranceEvent(GstPad* entrance, GstPadProbeInfo* info, gpointer /*data*/)
{
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (!event || GST_EVENT_TYPE(event) != GST_EVENT_TAG || !SaysTurned(event))
        return GST_PAD_PROBE_OK;
    const ObjectPtr<GstElement> bin(gst_pad_get_parent_element(entrance));
    const PadPtr target(gst_ghost_pad_get_target(GST_GHOST_PAD(entrance)));
    GstElement* flip = gst_element_factory_make("videoflip", "orientation");
    if (!bin || !target || !flip)
        return GST_PAD_PROBE_REMOVE;
    g_object_set(flip, "video-direction", kOrientationAuto, nullptr);
    gst_bin_add(GST_BIN(bin.get()), flip);
    const PadPtr flipIn(gst_element_get_static_pad(flip, "sink"));
    const PadPtr flipOut(gst_element_get_static_pad(flip, "src"));
    gst_element_sync_state_with_parent(flip);
    if (!gst_ghost_pad_set_target(GST_GHOST_PAD(entrance), flipIn.get()) ||
        GST_PAD_LINK_FAILED(gst_pad_link(flipOut.get(), target.get()))) {
        // Straight in as before: the picture lies turned, but it plays.
        gst_ghost_pad_set_target(GST_GHOST_PAD(entrance), target.get());
        gst_element_set_state(flip, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(bin.get()), flip);
    }
    return GST_PAD_PROBE_REMOVE;
}

}  // namespace

ElementPtr MakeUprightSink(GstElement* sink)
{
    ElementPtr bin = AdoptElement(gst_bin_new("upright-sink"));
    if (!bin || !sink)
        return nullptr;
    // The bin takes a reference of its own; the caller keeps its.
    gst_bin_add(GST_BIN(bin.get()), sink);
    const PadPtr in(gst_element_get_static_pad(sink, "sink"));
    GstPad* entrance = gst_ghost_pad_new("sink", in.get());
    if (!entrance || !gst_element_add_pad(bin.get(), entrance))
        return nullptr;
    gst_pad_add_probe(entrance, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &OnEntranceEvent, nullptr, nullptr);
    return bin;
}

}  // namespace platform::gst
