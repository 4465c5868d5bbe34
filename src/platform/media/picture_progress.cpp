// The wait's header first: GLib's TRUE and FALSE macros would break its constants.
#include "platform/framework/responsive_wait.h"
#include "platform/media/picture_progress.h"

#include <algorithm>

namespace platform::gst {

void PictureProgress::Watch(GstElement* element)
{
    GstElementFactory* factory = gst_element_get_factory(element);
    if (!factory || !gst_element_factory_list_is_type(factory, GST_ELEMENT_FACTORY_TYPE_DECODER |
                                                                   GST_ELEMENT_FACTORY_TYPE_MEDIA_VIDEO))
        return;
    const PadPtr output(gst_element_get_static_pad(element, "src"));
    if (!output)
        return;
    Decoder* decoder = nullptr;
    {
        std::lock_guard lock(m_mutex);
        decoder = &m_decoders.emplace_back(Decoder{this, 0, false});
    }
    gst_pad_add_probe(output.get(),
                      static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                      &PictureProgress::OnOutput, decoder, nullptr);
}

GstPadProbeReturn PictureProgress::OnOutput(GstPad* /*pad*/, GstPadProbeInfo* info, gpointer data)
{
    auto* decoder = static_cast<Decoder*>(data);
    const bool picture = (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) != 0;
    GstEvent* event = picture ? nullptr : GST_PAD_PROBE_INFO_EVENT(info);
    if (!picture && (!event || GST_EVENT_TYPE(event) != GST_EVENT_EOS))
        return GST_PAD_PROBE_OK;
    {
        std::lock_guard lock(decoder->progress->m_mutex);
        if (picture)
            ++decoder->pictures;
        else
            decoder->ended = true;
    }
    decoder->progress->m_changed.notify_all();
    // Past the second picture nothing more is asked of it.
    return decoder->pictures >= 2 ? GST_PAD_PROBE_REMOVE : GST_PAD_PROBE_OK;
}

bool PictureProgress::GoesOnPastTheFirstPicture(std::chrono::milliseconds bound)
{
    bool goesOn = true;
    const auto settledWithin = [&](std::chrono::milliseconds slice) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, slice, [&] {
            if (m_decoders.empty())
                return true;
            if (std::any_of(m_decoders.begin(), m_decoders.end(), [](const Decoder& d) { return d.pictures >= 2; }))
                return true;
            if (std::all_of(m_decoders.begin(), m_decoders.end(), [](const Decoder& d) { return d.ended; })) {
                goesOn = false;
                return true;
            }
            return false;
        });
    };
    AwaitResponsively(settledWithin, bound);
    return goesOn;
}

}  // namespace platform::gst
