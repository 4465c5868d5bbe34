#include "platform/media/audio_sink.h"

#include <cstdlib>
#include <string>

namespace platform::gst {

namespace {

// Playback must keep real time even where nothing is heard.
ElementPtr MakeSilentSink()
{
    ElementPtr sink = AdoptElement(gst_element_factory_make("fakesink", "silent-audio-sink"));
    if (sink)
        g_object_set(sink.get(), "sync", TRUE, nullptr);
    return sink;
}

ElementPtr MakeSinkFromDescription(const std::string& description)
{
    if (description == "fakesink")
        return MakeSilentSink();
    GError* rawError = nullptr;
    GstElement* bin = gst_parse_bin_from_description(description.c_str(), TRUE, &rawError);
    ErrorPtr error(rawError);
    if (!bin || error) {
        if (bin)
            gst_object_unref(gst_object_ref_sink(bin));
        return MakeSilentSink();
    }
    return AdoptElement(bin);
}

ElementPtr MakeSystemSink()
{
    ElementPtr sink = AdoptElement(gst_element_factory_make("autoaudiosink", nullptr));
    if (!sink)
        return MakeSilentSink();
    // READY is where a sink opens its device; a refusal here means no sound at all.
    const GstStateChangeReturn ready = gst_element_set_state(sink.get(), GST_STATE_READY);
    gst_element_set_state(sink.get(), GST_STATE_NULL);
    if (ready == GST_STATE_CHANGE_FAILURE)
        return MakeSilentSink();
    return sink;
}

}  // namespace

ElementPtr MakeAudioSink()
{
    if (const char* description = std::getenv("VANTREL_AUDIOSINK"); description && *description)
        return MakeSinkFromDescription(description);
    return MakeSystemSink();
}

}  // namespace platform::gst
