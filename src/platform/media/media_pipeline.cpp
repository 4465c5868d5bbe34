#include "platform/media/media_pipeline.h"

#include <gst/pbutils/missing-plugins.h>
#include <gst/video/video.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/framework/responsive_wait.h"
#include "platform/media/audio_sink.h"
#include "platform/media/cover_art.h"
#include "platform/media/decoder_threads.h"
#include "platform/media/error_watch.h"
#include "platform/media/live_pipelines.h"
#include "platform/media/media_log.h"
#include "platform/media/subtitle_files.h"
#include "platform/media/upright_sink.h"
#include "platform/media/video_frame.h"

namespace platform::gst {

namespace {

constexpr std::chrono::milliseconds kDefaultRenderBound = std::chrono::seconds(15);
// A real picture stream puts out its second picture at once; noise ends as fast.
constexpr std::chrono::milliseconds kSecondPictureBound = std::chrono::seconds(2);

// playbin's GstPlayFlags: the subtitles are drawn into the picture while this is set.
constexpr guint kPlayFlagText = 1u << 2;

struct StreamSignals {
    const char* count;
    const char* current;
    const char* pad;
    const char* tags;
};

StreamSignals SignalsFor(StreamKind kind)
{
    if (kind == StreamKind::Audio)
        return {"n-audio", "current-audio", "get-audio-pad", "get-audio-tags"};
    return {"n-text", "current-text", "get-text-pad", "get-text-tags"};
}

bool IsLocalFileUri(const std::string& uri)
{
    const CharPtr scheme(g_uri_parse_scheme(uri.c_str()));
    return scheme && g_ascii_strcasecmp(scheme.get(), "file") == 0;
}

std::string TagText(const GstTagList* tags, const char* tag)
{
    gchar* raw = nullptr;
    if (!tags || !gst_tag_list_get_string(tags, tag, &raw))
        return {};
    const CharPtr text(raw);
    return text ? std::string(text.get()) : std::string();
}

HRESULT ResultForError(const GError* error)
{
    if (!error)
        return E_FAIL;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_OPEN_READ_WRITE: return VFW_E_NOT_FOUND;
        default: return VFW_E_CANNOT_RENDER;
        }
    }
    if (error->domain == GST_STREAM_ERROR || error->domain == GST_CORE_ERROR)
        return VFW_E_UNSUPPORTED_STREAM;
    return E_FAIL;
}

std::optional<double> Seconds(bool known, gint64 clockTime)
{
    if (!known || clockTime < 0)
        return std::nullopt;
    return static_cast<double>(clockTime) / static_cast<double>(GST_SECOND);
}

}  // namespace

std::chrono::milliseconds RenderBound()
{
    if (const char* text = std::getenv("VANTREL_RENDER_TIMEOUT_MS"); text && *text) {
        char* end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (*end == '\0' && value > 0)
            return std::chrono::milliseconds(value);
    }
    return kDefaultRenderBound;
}

MediaPipeline::MediaPipeline() = default;

MediaPipeline::MediaPipeline(PipelineObserver& observer) : m_observer(&observer) {}

MediaPipeline::~MediaPipeline()
{
    TearDown();
}

void MediaPipeline::Start(const std::string& uri)
{
    m_uri = uri;
    m_built = Build(uri);
    if (m_built)
        m_startChange = gst_element_set_state(m_playbin.get(), GST_STATE_PAUSED);
}

void MediaPipeline::Attach(PipelineObserver& observer)
{
    std::lock_guard lock(m_observerMutex);
    m_observer = &observer;
    if (const SamplePtr held = std::move(m_heldSample))
        m_observer->OnFrame(held.get());
}

void MediaPipeline::DeliverFrame(GstSample* sample)
{
    std::lock_guard lock(m_observerMutex);
    if (m_observer)
        m_observer->OnFrame(sample);
    else
        m_heldSample.reset(gst_sample_ref(sample));
}

HRESULT MediaPipeline::Finish(std::chrono::milliseconds bound)
{
    HRESULT result = m_built ? AwaitPreroll(bound) : VFW_E_CANNOT_RENDER;
    // A medium whose every stream is unknown still prerolls, with nothing linked;
    // one whose streams decode to nothing prerolls on their end.
    if (SUCCEEDED(result) && ((!HasAudio() && !HasVideo()) || !m_decoded)) {
        GST_CAT_INFO(vantrel_media_debug, "%s: refused: %s", m_uri.c_str(),
                     !HasAudio() && !HasVideo() ? "no stream it could play" : "no picture or sound decoded");
        result = VFW_E_UNSUPPORTED_STREAM;
    }
    // A local picture alone, of no known length, that ends at its first picture is
    // noise a type finder took for a raw video stream: that picture is concealment.
    if (SUCCEEDED(result) && HasVideo() && !HasAudio() && !(Duration().value_or(0.0) > 0.0) && IsLocalFileUri(m_uri) &&
        !m_pictures.GoesOnPastTheFirstPicture(kSecondPictureBound)) {
        GST_CAT_INFO(vantrel_media_debug, "%s: refused: a picture of no length that ends at its first", m_uri.c_str());
        result = VFW_E_UNSUPPORTED_STREAM;
    }
    if (SUCCEEDED(result)) {
        // An error since the preroll went to the open, not to the observer:
        // it is this open's failure, or nobody would ever hear of it.
        std::lock_guard lock(m_mutex);
        if (m_openError)
            result = *m_openError;
        else
            m_opened = true;
        m_postedErrors.clear();
    }
    if (SUCCEEDED(result))
        m_timeline.origin = StreamStart();
    if (FAILED(result)) {
        TearDown();
        return result;
    }
    ShowCoverAsPicture();
    return S_OK;
}

void MediaPipeline::ShowCoverAsPicture()
{
    if (HasVideo())
        return;
    const MediumTags tags = m_tags.Read(false);
    if (tags.cover)
        m_cover = DecodeCover(*tags.cover);
    if (m_cover)
        DeliverFrame(m_cover.get());
}

bool MediaPipeline::Build(const std::string& uri)
{
    m_playbin = AdoptElement(gst_element_factory_make("playbin", nullptr));
    if (m_playbin)
        CountWhileAlive(m_playbin.get());
    m_videoSink = AdoptElement(gst_element_factory_make("appsink", "video-sink"));
    m_audioSink = MakeAudioSink();
    // The picture is turned upright on its way in, when the medium says it is stored turned.
    const ElementPtr videoSink = MakeUprightSink(m_videoSink.get());
    if (!m_playbin || !m_videoSink || !videoSink || !m_audioSink)
        return false;

    // Decoders' own formats pass untouched: the picture is converted once, when it is painted.
    const CapsPtr caps(gst_caps_from_string((std::string("video/x-raw, format=(string)") + kDecodedFormats).c_str()));
    g_object_set(m_videoSink.get(), "caps", caps.get(), "qos", TRUE, "enable-last-sample", FALSE, nullptr);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &MediaPipeline::OnPreroll;
    callbacks.new_sample = &MediaPipeline::OnSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(m_videoSink.get()), &callbacks, this, nullptr);

    guint flags = 0;
    g_object_get(m_playbin.get(), "flags", &flags, nullptr);
    // The sound that prerolls has passed the volume before anyone could set it;
    // silent, it cannot start a quiet medium with a loud click.
    g_object_set(m_playbin.get(), "uri", uri.c_str(), "video-sink", videoSink.get(), "audio-sink", m_audioSink.get(),
                 "flags", flags | kPlayFlagText, "volume", 0.0, nullptr);
    // A subtitle file beside the medium goes before the medium's own subtitles.
    if (const std::optional<std::string> subtitles = SubtitleUriFor(uri)) {
        m_subtitleUri = *subtitles;
        g_object_set(m_playbin.get(), "suburi", m_subtitleUri.c_str(), nullptr);
    }

    const auto buffers = static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST);
    for (GstElement* sink : {m_videoSink.get(), m_audioSink.get()}) {
        if (const PadPtr pad{gst_element_get_static_pad(sink, "sink")})
            gst_pad_add_probe(pad.get(), buffers, &MediaPipeline::OnDecoded, this, nullptr);
    }

    WatchErrors(m_playbin.get(), &MediaPipeline::OnErrorPosted, this);
    g_signal_connect(m_playbin.get(), "deep-element-added", G_CALLBACK(&MediaPipeline::OnElementAdded), this);
    g_signal_connect(m_playbin.get(), "audio-changed", G_CALLBACK(&MediaPipeline::OnAudioChanged), this);
    g_signal_connect(m_playbin.get(), "text-changed", G_CALLBACK(&MediaPipeline::OnTextChanged), this);

    m_bus.reset(gst_element_get_bus(m_playbin.get()));
    gst_bus_set_sync_handler(m_bus.get(), &MediaPipeline::OnBusMessage, this, nullptr);
    return true;
}

HRESULT MediaPipeline::AwaitPreroll(std::chrono::milliseconds bound)
{
    const GstStateChangeReturn change = m_startChange;
    if (change == GST_STATE_CHANGE_FAILURE) {
        std::lock_guard lock(m_mutex);
        return m_openError ? *m_openError : VFW_E_CANNOT_RENDER;
    }
    if (change == GST_STATE_CHANGE_SUCCESS || change == GST_STATE_CHANGE_NO_PREROLL) {
        std::lock_guard lock(m_mutex);
        m_prerolled = true;
    }
    // A network source can keep us long: the windows stay alive meanwhile, and a close
    // request abandons the open. The lock is held only while waiting for the streams.
    const auto settledWithin = [this](std::chrono::milliseconds slice) {
        std::unique_lock lock(m_mutex);
        return m_settled.wait_for(lock, slice, [this] { return m_prerolled || m_openError; });
    };
    const platform::WaitEnd end = platform::AwaitResponsively(settledWithin, bound);
    std::lock_guard lock(m_mutex);
    if (m_openError)
        return *m_openError;
    if (end == platform::WaitEnd::Abandoned) {
        GST_CAT_INFO(vantrel_media_debug, "%s: the open was abandoned for a close or another open", m_uri.c_str());
        return E_ABORT;
    }
    if (!m_prerolled)
        GST_CAT_INFO(vantrel_media_debug, "%s: not ready within %lld ms", m_uri.c_str(),
                     static_cast<long long>(bound.count()));
    return m_prerolled ? S_OK : VFW_E_TIMEOUT;
}

bool MediaPipeline::Play()
{
    if (!m_playbin)
        return false;
    return gst_element_set_state(m_playbin.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

bool MediaPipeline::Pause()
{
    if (!m_playbin)
        return false;
    return gst_element_set_state(m_playbin.get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

bool MediaPipeline::Seek(double seconds)
{
    if (!m_playbin || !std::isfinite(seconds))
        return false;
    const auto target = static_cast<gint64>(m_timeline.ToStream(seconds) * static_cast<double>(GST_SECOND));
    {
        std::lock_guard lock(m_mutex);
        m_seekTarget = target;
    }
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (!gst_element_seek_simple(m_playbin.get(), GST_FORMAT_TIME, flags, target)) {
        std::lock_guard lock(m_mutex);
        m_seekTarget.reset();
        return false;
    }
    return true;
}

std::optional<double> MediaPipeline::Duration() const
{
    if (!m_playbin)
        return std::nullopt;
    gint64 duration = 0;
    const bool known = gst_element_query_duration(m_playbin.get(), GST_FORMAT_TIME, &duration);
    return Seconds(known, duration);
}

std::optional<double> MediaPipeline::Position() const
{
    if (!m_playbin)
        return std::nullopt;
    std::optional<double> position;
    {
        // Until the seek has settled the pipeline still answers with the old place.
        std::lock_guard lock(m_mutex);
        if (m_seekTarget)
            position = Seconds(true, *m_seekTarget);
    }
    if (!position) {
        gint64 streamTime = 0;
        const bool known = gst_element_query_position(m_playbin.get(), GST_FORMAT_TIME, &streamTime);
        position = Seconds(known, streamTime);
    }
    if (!position)
        return std::nullopt;
    return m_timeline.FromStream(*position, Duration());
}

double MediaPipeline::StreamStart() const
{
    // The segment the sinks prerolled in starts at the medium's first picture or sound.
    const MiniObjectPtr<GstQuery> query(gst_query_new_segment(GST_FORMAT_TIME));
    if (!gst_element_query(m_playbin.get(), query.get()))
        return 0.0;
    GstFormat format = GST_FORMAT_UNDEFINED;
    gint64 start = 0;
    gst_query_parse_segment(query.get(), nullptr, &format, &start, nullptr);
    if (format != GST_FORMAT_TIME)
        return 0.0;
    return Seconds(true, start).value_or(0.0);
}

int MediaPipeline::StreamCount(const char* property) const
{
    gint count = 0;
    if (m_playbin)
        g_object_get(m_playbin.get(), property, &count, nullptr);
    return count;
}

bool MediaPipeline::HasAudio() const
{
    return StreamCount("n-audio") > 0;
}

bool MediaPipeline::HasVideo() const
{
    return StreamCount("n-video") > 0;
}

std::optional<SizedRect> MediaPipeline::Picture() const
{
    if (!m_videoSink)
        return std::nullopt;
    CapsPtr caps;
    if (HasVideo()) {
        const PadPtr pad(gst_element_get_static_pad(m_videoSink.get(), "sink"));
        caps.reset(pad ? gst_pad_get_current_caps(pad.get()) : nullptr);
    } else if (m_cover) {
        caps.reset(gst_caps_ref(gst_sample_get_caps(m_cover.get())));
    }
    GstVideoInfo info;
    if (!caps || !gst_video_info_from_caps(&info, caps.get()))
        return std::nullopt;
    const gint64 parN = std::max(1, GST_VIDEO_INFO_PAR_N(&info));
    const gint64 parD = std::max(1, GST_VIDEO_INFO_PAR_D(&info));
    return SizedRect{0, 0, static_cast<LONG>(GST_VIDEO_INFO_WIDTH(&info) * parN / parD),
                     static_cast<LONG>(GST_VIDEO_INFO_HEIGHT(&info))};
}

MediumTags MediaPipeline::Tags() const
{
    MediumTags tags = m_tags.Read(HasVideo());
    tags.coverIsPicture = m_cover != nullptr;
    return tags;
}

std::vector<StreamFacts> MediaPipeline::Streams(StreamKind kind) const
{
    std::vector<StreamFacts> streams;
    if (!m_playbin)
        return streams;
    const int count = StreamCount(SignalsFor(kind).count);
    for (int index = 0; index < count; ++index) {
        GstPad* rawPad = nullptr;
        g_signal_emit_by_name(m_playbin.get(), SignalsFor(kind).pad, index, &rawPad);
        const PadPtr pad(rawPad);
        streams.push_back(FactsOf(kind, index, pad.get(), nullptr));
    }
    return streams;
}

StreamFacts MediaPipeline::FactsOf(StreamKind kind, int index, GstPad* pad, GstEvent* start) const
{
    StreamFacts stream;
    if (pad) {
        const MiniObjectPtr<GstEvent> stored(start ? nullptr
                                                   : gst_pad_get_sticky_event(pad, GST_EVENT_STREAM_START, 0));
        if (GstEvent* event = start ? start : stored.get()) {
            GstStreamFlags flags = GST_STREAM_FLAG_NONE;
            gst_event_parse_stream_flags(event, &flags);
            stream.flaggedDefault = (flags & GST_STREAM_FLAG_SELECT) != 0;
        }
        const PadPtr peer(gst_pad_get_peer(pad));
        stream.external = kind == StreamKind::Subtitles && peer && IsFromSubtitleFile(GST_OBJECT_CAST(peer.get()));
    }
    GstTagList* rawTags = nullptr;
    g_signal_emit_by_name(m_playbin.get(), SignalsFor(kind).tags, index, &rawTags);
    const MiniObjectPtr<GstTagList> tags(rawTags);
    stream.language = TagText(tags.get(), GST_TAG_LANGUAGE_CODE);
    stream.title = TagText(tags.get(), GST_TAG_TITLE);
    return stream;
}

namespace {

struct StreamWatch {
    MediaPipeline* pipeline;
    StreamKind kind;
    int index;
};

constexpr const char* kWatchedKey = "vantrel-stream-watched";

}  // namespace

void MediaPipeline::OnAudioChanged(GstElement* /*playbin*/, gpointer self)
{
    static_cast<MediaPipeline*>(self)->WatchStreamStarts(StreamKind::Audio);
}

void MediaPipeline::OnTextChanged(GstElement* /*playbin*/, gpointer self)
{
    static_cast<MediaPipeline*>(self)->WatchStreamStarts(StreamKind::Subtitles);
}

void MediaPipeline::WatchStreamStarts(StreamKind kind)
{
    // A streaming thread: playbin has linked a new stream of this kind.
    const StreamSignals names = SignalsFor(kind);
    const int count = StreamCount(names.count);
    for (int index = 0; index < count; ++index) {
        GstPad* rawPad = nullptr;
        g_signal_emit_by_name(m_playbin.get(), names.pad, index, &rawPad);
        const PadPtr pad(rawPad);
        if (!pad || g_object_get_data(G_OBJECT(pad.get()), kWatchedKey))
            continue;
        g_object_set_data(G_OBJECT(pad.get()), kWatchedKey, GINT_TO_POINTER(1));
        // Its start may have passed already; then it is judged now.
        if (const MiniObjectPtr<GstEvent> start{gst_pad_get_sticky_event(pad.get(), GST_EVENT_STREAM_START, 0)}) {
            TakeStreamStart(kind, index, pad.get(), start.get());
            continue;
        }
        gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &MediaPipeline::OnStreamStart,
                          new StreamWatch{this, kind, index},
                          [](gpointer watch) { delete static_cast<StreamWatch*>(watch); });
    }
}

GstPadProbeReturn MediaPipeline::OnStreamStart(GstPad* pad, GstPadProbeInfo* info, gpointer watch)
{
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (!event || GST_EVENT_TYPE(event) != GST_EVENT_STREAM_START)
        return GST_PAD_PROBE_OK;
    const auto* stream = static_cast<StreamWatch*>(watch);
    stream->pipeline->TakeStreamStart(stream->kind, stream->index, pad, event);
    return GST_PAD_PROBE_REMOVE;
}

void MediaPipeline::TakeStreamStart(StreamKind kind, int index, GstPad* pad, GstEvent* start)
{
    const StreamFacts facts = FactsOf(kind, index, pad, start);
    {
        std::lock_guard lock(m_mutex);
        std::optional<StreamFacts>& chosen = kind == StreamKind::Audio ? m_firstAudio : m_firstSubtitles;
        if (!PlaysFirst(facts, chosen ? &*chosen : nullptr))
            return;
        chosen = facts;
    }
    g_object_set(m_playbin.get(), SignalsFor(kind).current, gint(index), nullptr);
}

int MediaPipeline::CurrentStream(StreamKind kind) const
{
    gint current = -1;
    if (m_playbin)
        g_object_get(m_playbin.get(), SignalsFor(kind).current, &current, nullptr);
    return current;
}

bool MediaPipeline::SelectStream(StreamKind kind, int index)
{
    const StreamSignals names = SignalsFor(kind);
    if (!m_playbin || index < 0 || index >= StreamCount(names.count))
        return false;
    // Sound changes where it stands, without a gap in the picture. playbin sends a
    // subtitle once, as its cue starts: the medium's own show from their next cue,
    // a subtitle file from the cue under way.
    if (index != CurrentStream(kind))
        g_object_set(m_playbin.get(), names.current, gint(index), nullptr);
    return true;
}

bool MediaPipeline::SubtitlesShown() const
{
    guint flags = 0;
    if (m_playbin)
        g_object_get(m_playbin.get(), "flags", &flags, nullptr);
    return (flags & kPlayFlagText) != 0;
}

void MediaPipeline::ShowSubtitles(bool shown)
{
    if (!m_playbin || shown == SubtitlesShown())
        return;
    guint flags = 0;
    g_object_get(m_playbin.get(), "flags", &flags, nullptr);
    g_object_set(m_playbin.get(), "flags", shown ? (flags | kPlayFlagText) : (flags & ~kPlayFlagText), nullptr);
}

bool MediaPipeline::IsFromSubtitleFile(GstObject* object) const
{
    if (m_subtitleUri.empty())
        return false;
    // The subtitle file has a source bin of its own, named by its URI.
    for (ObjectPtr<GstObject> at(object ? GST_OBJECT(gst_object_ref(object)) : nullptr); at;
         at.reset(gst_object_get_parent(at.get()))) {
        const GParamSpec* property =
            GST_IS_ELEMENT(at.get()) ? g_object_class_find_property(G_OBJECT_GET_CLASS(at.get()), "uri") : nullptr;
        if (!property || property->value_type != G_TYPE_STRING || GST_IS_PIPELINE(at.get()))
            continue;
        gchar* raw = nullptr;
        g_object_get(at.get(), "uri", &raw, nullptr);
        const CharPtr uri(raw);
        if (uri && m_subtitleUri == uri.get())
            return true;
    }
    return false;
}

void MediaPipeline::SetVolume(double gain)
{
    if (m_playbin)
        g_object_set(m_playbin.get(), "volume", gain, nullptr);
}

void MediaPipeline::TearDown()
{
    // NULL joins the streaming threads, so no callback runs after this.
    if (m_playbin)
        gst_element_set_state(m_playbin.get(), GST_STATE_NULL);
    if (m_playbin)
        UnwatchErrors(m_playbin.get());
    if (m_bus)
        gst_bus_set_sync_handler(m_bus.get(), nullptr, nullptr, nullptr);
    m_bus.reset();
    m_videoSink.reset();
    m_audioSink.reset();
    m_playbin.reset();
    m_cover.reset();
    std::lock_guard lock(m_mutex);
    m_seekTarget.reset();
    m_postedErrors.clear();
    m_firstAudio.reset();
    m_firstSubtitles.reset();
}

GstBusSyncReply MediaPipeline::OnBusMessage(GstBus* /*bus*/, GstMessage* message, gpointer self)
{
    // A handler that drops a message owns it. Each message holds its source, so
    // one kept would keep the pipeline, its bus and their descriptors alive.
    const MessagePtr dropped(message);
    static_cast<MediaPipeline*>(self)->HandleBusMessage(message);
    // Nobody pops this bus: every message is handled here.
    return GST_BUS_DROP;
}

void MediaPipeline::HandleBusMessage(GstMessage* message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT_CAST(m_playbin.get())) {
            {
                std::lock_guard lock(m_mutex);
                m_prerolled = true;
                m_seekTarget.reset();
            }
            m_settled.notify_all();
        }
        break;
    case GST_MESSAGE_ERROR: {
        GError* rawError = nullptr;
        gchar* rawDebug = nullptr;
        gst_message_parse_error(message, &rawError, &rawDebug);
        const ErrorPtr error(rawError);
        const CharPtr debug(rawDebug);
        GST_CAT_INFO(vantrel_media_debug, "%s: error from %s: %s (%s)", m_uri.c_str(), GST_MESSAGE_SRC_NAME(message),
                     error ? error->message : "?", debug ? debug.get() : "");
        const HRESULT result = ResultForError(error.get());
        bool opened = false;
        {
            std::lock_guard lock(m_mutex);
            opened = m_opened;
            if (!opened && !m_openError)
                m_openError = result;
            // A seek that failed will never be done: the pipeline's own place counts again.
            m_seekTarget.reset();
        }
        m_settled.notify_all();
        if (opened) {
            std::lock_guard observerLock(m_observerMutex);
            if (m_observer)
                m_observer->OnError(result);
        }
        break;
    }
    case GST_MESSAGE_EOS: {
        bool opened = false;
        {
            std::lock_guard lock(m_mutex);
            opened = m_opened;
            m_seekTarget.reset();
        }
        if (opened) {
            std::lock_guard observerLock(m_observerMutex);
            if (m_observer)
                m_observer->OnEndOfStream();
        }
        break;
    }
    case GST_MESSAGE_TAG: TakeTags(message); break;
    case GST_MESSAGE_ELEMENT:
        if (gst_is_missing_plugin_message(message)) {
            const CharPtr description(gst_missing_plugin_message_get_description(message));
            GST_CAT_INFO(vantrel_media_debug, "%s: a plugin is missing: %s", m_uri.c_str(),
                         description ? description.get() : "?");
        }
        break;
    case GST_MESSAGE_DURATION_CHANGED: {
        // Some streams (an MP3 without an index) tell their length only once they play.
        std::lock_guard observerLock(m_observerMutex);
        if (m_observer)
            m_observer->OnLengthChanged();
        break;
    }
    default: break;
    }
}

void MediaPipeline::TakeTags(GstMessage* message)
{
    GstTagList* rawTags = nullptr;
    gst_message_parse_tag(message, &rawTags);
    const MiniObjectPtr<GstTagList> tags(rawTags);
    GstObject* source = GST_MESSAGE_SRC(message);
    const bool fromSound = m_audioSink && source &&
                           (source == GST_OBJECT_CAST(m_audioSink.get()) ||
                            gst_object_has_as_ancestor(source, GST_OBJECT_CAST(m_audioSink.get())));
    if (!m_tags.Take(tags.get(), fromSound))
        return;
    std::lock_guard observerLock(m_observerMutex);
    if (m_observer)
        m_observer->OnTagsChanged();
}

void MediaPipeline::OnErrorPosted(GstElement* source, GstMessage* error, gpointer self)
{
    // Bins pass an error on by posting it again: only its first post names the element that failed.
    if (GST_MESSAGE_SRC(error) != GST_OBJECT_CAST(source))
        return;
    auto* pipeline = static_cast<MediaPipeline*>(self);
    // A subtitle file that cannot be read is left out; the medium plays without it.
    if (pipeline->IsFromSubtitleFile(GST_OBJECT_CAST(source)))
        return;
    GError* rawError = nullptr;
    gchar* rawDebug = nullptr;
    gst_message_parse_error(error, &rawError, &rawDebug);
    const ErrorPtr parsed(rawError);
    const CharPtr debug(rawDebug);
    GST_CAT_INFO(vantrel_media_debug, "%s: error posted by %s: %s (%s)", pipeline->m_uri.c_str(),
                 GST_OBJECT_NAME(source), parsed ? parsed->message : "?", debug ? debug.get() : "");
    std::lock_guard lock(pipeline->m_mutex);
    if (!pipeline->m_opened)
        pipeline->m_postedErrors.emplace_back(GST_ELEMENT(gst_object_ref(source)), ResultForError(parsed.get()));
}

void MediaPipeline::OnElementAdded(GstBin* /*bin*/, GstBin* /*parent*/, GstElement* element, gpointer self)
{
    FitDecoderThreads(element);
    static_cast<MediaPipeline*>(self)->m_pictures.Watch(element);
    GstElementFactory* factory = gst_element_get_factory(element);
    if (factory && g_strcmp0(GST_OBJECT_NAME(factory), "typefind") == 0)
        g_signal_connect_after(element, "have-type", G_CALLBACK(&MediaPipeline::OnTypeFound), self);
}

void MediaPipeline::OnTypeFound(GstElement* /*typefind*/, guint /*probability*/, GstCaps* /*caps*/, gpointer self)
{
    // decodebin has plugged the medium's first element and stopped holding back
    // its errors; one it held back and dropped came from an element that is
    // still in place (an element that failed to start is gone) and is final.
    auto* pipeline = static_cast<MediaPipeline*>(self);
    {
        std::lock_guard lock(pipeline->m_mutex);
        for (const auto& [source, result] : pipeline->m_postedErrors) {
            if (!pipeline->m_openError &&
                gst_object_has_as_ancestor(GST_OBJECT_CAST(source.get()), GST_OBJECT_CAST(pipeline->m_playbin.get())))
                pipeline->m_openError = result;
        }
    }
    pipeline->m_settled.notify_all();
}

GstPadProbeReturn MediaPipeline::OnDecoded(GstPad* /*pad*/, GstPadProbeInfo* /*info*/, gpointer self)
{
    static_cast<MediaPipeline*>(self)->m_decoded = true;
    return GST_PAD_PROBE_REMOVE;
}

GstFlowReturn MediaPipeline::OnPreroll(GstAppSink* sink, gpointer self)
{
    const SamplePtr sample(gst_app_sink_pull_preroll(sink));
    if (sample)
        static_cast<MediaPipeline*>(self)->DeliverFrame(sample.get());
    return GST_FLOW_OK;
}

GstFlowReturn MediaPipeline::OnSample(GstAppSink* sink, gpointer self)
{
    const SamplePtr sample(gst_app_sink_pull_sample(sink));
    if (sample)
        static_cast<MediaPipeline*>(self)->DeliverFrame(sample.get());
    return GST_FLOW_OK;
}

}  // namespace platform::gst
