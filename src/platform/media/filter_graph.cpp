#include "platform/media/filter_graph.h"

#include <cmath>
#include <string>

#include "platform/media/early_render.h"
#include "platform/media/gst_handles.h"
#include "platform/media/media_log.h"
#include "platform/media/media_uri.h"
#include "platform/media/video_frame.h"

namespace platform::gst {

namespace {

constexpr double kUnitsPerSecond = 1e7;  // 100 ns

// Hundredths of a decibel to a linear gain; the bottom of the range is silence.
double GainForAttenuation(LONG attenuation)
{
    if (attenuation <= kSilentAttenuation)
        return 0.0;
    return std::pow(10.0, attenuation / 2000.0);
}

HWND WindowOf(OAHWND handle)
{
    return reinterpret_cast<HWND>(handle);
}

}  // namespace

FilterGraph::FilterGraph() = default;

FilterGraph::~FilterGraph()
{
    ReleasePipeline();
}

HRESULT FilterGraph::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IGraphBuilder)
        *object = static_cast<IGraphBuilder*>(this);
    else if (iid == IID_IMediaControl)
        *object = static_cast<IMediaControl*>(this);
    else if (iid == IID_IMediaEventEx)
        *object = static_cast<IMediaEventEx*>(this);
    else if (iid == IID_IVideoWindow)
        *object = static_cast<IVideoWindow*>(this);
    else if (iid == IID_IMediaPosition)
        *object = static_cast<IMediaPosition*>(this);
    else if (iid == IID_IMediaSeeking)
        *object = static_cast<IMediaSeeking*>(this);
    else if (iid == IID_IBasicAudio)
        *object = static_cast<IBasicAudio*>(this);
    else if (iid == IID_IBasicVideo)
        *object = static_cast<IBasicVideo*>(this);
    else if (iid == IID_IAMStreamSelect)
        *object = static_cast<IAMStreamSelect*>(this);
    else if (iid == IID_IMediaTags)
        *object = static_cast<IMediaTags*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG FilterGraph::AddRef()
{
    return ++m_references;
}

ULONG FilterGraph::Release()
{
    const ULONG left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

// --- IGraphBuilder ---

HRESULT FilterGraph::RenderFile(const char* file, const char* /*playList*/)
{
    if (!file)
        return E_POINTER;
    ReleasePipeline();
    m_video.ClearFrame();

    // The medium named at start was made a URI and checked then.
    std::unique_ptr<MediaPipeline> pipeline = TakeEarlyRender(file);
    if (!pipeline) {
        const std::optional<std::string> uri = MediaUri(file);
        if (!uri || IsUnreadableLocalFile(*uri))
            return VFW_E_NOT_FOUND;
        pipeline = std::make_unique<MediaPipeline>();
        pipeline->Start(*uri);
    }
    pipeline->Attach(static_cast<PipelineObserver&>(*this));
    const HRESULT result = pipeline->Finish(RenderBound());
    if (FAILED(result))
        return result;
    pipeline->SetVolume(GainForAttenuation(m_volume));
    m_pipeline = std::move(pipeline);
    m_state = State_Stopped;
    m_lastSeek.reset();
    m_events.ClearFailure();
    return S_OK;
}

void FilterGraph::ReleasePipeline()
{
    m_pipeline.reset();
}

// --- IMediaControl ---

HRESULT FilterGraph::Run()
{
    m_state = State_Running;
    if (!m_pipeline)
        return S_OK;
    if (m_events.ClearFailure()) {
        // Streaming ended at the failure: the flushing seek starts it again
        // from where it stands, and drops an end still held by the sinks.
        put_CurrentPosition(m_pipeline->Position().value_or(0.0));
    }
    return m_pipeline->Play() ? S_OK : E_FAIL;
}

HRESULT FilterGraph::Pause()
{
    m_state = State_Paused;
    if (m_pipeline && !m_pipeline->Pause())
        return E_FAIL;
    return S_OK;
}

HRESULT FilterGraph::Stop()
{
    // Paused underneath: the position and the picture stay.
    m_state = State_Stopped;
    if (m_pipeline && !m_pipeline->Pause())
        return E_FAIL;
    return S_OK;
}

HRESULT FilterGraph::GetState(LONG /*timeoutMs*/, OAFilterState* state)
{
    if (!state)
        return E_POINTER;
    *state = m_state;
    return S_OK;
}

// --- IMediaEventEx ---

HRESULT FilterGraph::GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs)
{
    if (!eventCode || !param1 || !param2)
        return E_POINTER;
    GraphEvent event;
    if (!m_events.Pop(&event, timeoutMs))
        return E_ABORT;
    if (event.code == EC_COMPLETE && EndedWithoutProgress(event)) {
        // Looping on it would go on for ever: the medium cannot be read from there.
        m_events.MarkFailed();
        event = {EC_ERRORABORT, E_FAIL, 0};
    }
    *eventCode = event.code;
    *param1 = event.param1;
    *param2 = event.param2;
    return S_OK;
}

HRESULT FilterGraph::FreeEventParams(LONG /*eventCode*/, LONG_PTR /*param1*/, LONG_PTR /*param2*/)
{
    return S_OK;  // no event carries anything to free
}

HRESULT FilterGraph::SetNotifyWindow(OAHWND hwnd, LONG message, LONG_PTR instanceData)
{
    m_events.SetNotifyWindow(WindowOf(hwnd), static_cast<UINT>(message), instanceData);
    return S_OK;
}

bool FilterGraph::EndedWithoutProgress(const GraphEvent& event) const
{
    if (!m_lastSeek || !m_pipeline)
        return false;
    return gst::EndedWithoutProgress(*m_lastSeek, event.sequence, m_pictures.load(), m_pipeline->Position(),
                                     m_pipeline->Duration());
}

void FilterGraph::OnEndOfStream()
{
    m_events.PushEndOfStream();
}

void FilterGraph::OnError(HRESULT error)
{
    m_events.PushError(error);
}

void FilterGraph::OnFrame(GstSample* sample)
{
    ++m_pictures;
    m_video.Present(DecodedFrame::FromSample(sample));
}

void FilterGraph::OnTagsChanged()
{
    m_events.PushNotice(EC_TAGS_CHANGED);
}

void FilterGraph::OnLengthChanged()
{
    m_events.PushNotice(EC_LENGTH_CHANGED);
}

// --- IVideoWindow ---

HRESULT FilterGraph::put_Owner(OAHWND owner)
{
    return m_video.SetOwner(WindowOf(owner)) ? S_OK : E_INVALIDARG;
}

HRESULT FilterGraph::get_Owner(OAHWND* owner)
{
    if (!owner)
        return E_POINTER;
    *owner = reinterpret_cast<OAHWND>(m_video.Owner());
    return S_OK;
}

HRESULT FilterGraph::put_WindowStyle(LONG /*style*/)
{
    return S_OK;  // the video window is always the owner's plain child
}

HRESULT FilterGraph::put_MessageDrain(OAHWND drain)
{
    m_video.SetMessageDrain(WindowOf(drain));
    return S_OK;
}

HRESULT FilterGraph::put_AutoShow(LONG /*autoShow*/)
{
    return S_OK;  // the window shows when put_Visible says, never by itself
}

HRESULT FilterGraph::put_Visible(LONG visible)
{
    m_video.SetVisible(visible != OAFALSE);
    return S_OK;
}

HRESULT FilterGraph::get_Visible(LONG* visible)
{
    if (!visible)
        return E_POINTER;
    *visible = m_video.Visible() ? OATRUE : OAFALSE;
    return S_OK;
}

HRESULT FilterGraph::SetWindowPosition(LONG left, LONG top, LONG width, LONG height)
{
    if (width < 0 || height < 0)
        return E_INVALIDARG;
    m_video.SetPosition({left, top, width, height});
    return S_OK;
}

HRESULT FilterGraph::GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    const SizedRect position = m_video.Position();
    *left = position.left;
    *top = position.top;
    *width = position.width;
    *height = position.height;
    return S_OK;
}

// --- IMediaPosition ---

HRESULT FilterGraph::get_Duration(REFTIME* length)
{
    if (!length)
        return E_POINTER;
    if (!m_pipeline)
        return VFW_E_WRONG_STATE;
    const std::optional<double> duration = m_pipeline->Duration();
    if (!duration)
        return E_FAIL;
    *length = *duration;
    return S_OK;
}

HRESULT FilterGraph::get_CurrentPosition(REFTIME* position)
{
    if (!position)
        return E_POINTER;
    if (!m_pipeline)
        return VFW_E_WRONG_STATE;
    const std::optional<double> current = m_pipeline->Position();
    if (!current)
        return E_FAIL;
    *position = *current;
    return S_OK;
}

HRESULT FilterGraph::put_CurrentPosition(REFTIME position)
{
    if (!m_pipeline)
        return VFW_E_WRONG_STATE;
    // Noted first: an end that the seek meets at once may be queued before it returns.
    const SeekMark mark{position, m_events.Queued(), m_pictures.load()};
    if (!m_pipeline->Seek(position))
        return E_FAIL;
    m_lastSeek = mark;
    return S_OK;
}

// --- IMediaSeeking ---

HRESULT FilterGraph::GetDuration(LONGLONG* duration)
{
    REFTIME seconds = 0;
    if (!duration)
        return E_POINTER;
    const HRESULT result = get_Duration(&seconds);
    if (SUCCEEDED(result))
        *duration = static_cast<LONGLONG>(seconds * kUnitsPerSecond);
    return result;
}

HRESULT FilterGraph::GetCurrentPosition(LONGLONG* position)
{
    REFTIME seconds = 0;
    if (!position)
        return E_POINTER;
    const HRESULT result = get_CurrentPosition(&seconds);
    if (SUCCEEDED(result))
        *position = static_cast<LONGLONG>(seconds * kUnitsPerSecond);
    return result;
}

// --- IBasicAudio ---

HRESULT FilterGraph::put_Volume(LONG volume)
{
    if (volume < kSilentAttenuation || volume > 0)
        return E_INVALIDARG;
    m_volume = volume;
    if (!m_pipeline || !m_pipeline->HasAudio())
        return E_NOTIMPL;
    m_pipeline->SetVolume(GainForAttenuation(volume));
    return S_OK;
}

HRESULT FilterGraph::get_Volume(LONG* volume)
{
    if (!volume)
        return E_POINTER;
    *volume = m_volume;
    return S_OK;
}

// --- IBasicVideo ---

namespace {

template <typename Read>
HRESULT ReadPicture(const MediaPipeline* pipeline, Read read)
{
    const std::optional<SizedRect> picture = pipeline ? pipeline->Picture() : std::nullopt;
    if (!picture)
        return E_NOTIMPL;  // no picture: the caller's values stay
    read(*picture);
    return S_OK;
}

}  // namespace

HRESULT FilterGraph::get_SourceLeft(LONG* left)
{
    if (!left)
        return E_POINTER;
    return ReadPicture(m_pipeline.get(), [&](const SizedRect&) { *left = 0; });
}

HRESULT FilterGraph::get_SourceTop(LONG* top)
{
    if (!top)
        return E_POINTER;
    return ReadPicture(m_pipeline.get(), [&](const SizedRect&) { *top = 0; });
}

HRESULT FilterGraph::get_SourceWidth(LONG* width)
{
    if (!width)
        return E_POINTER;
    return ReadPicture(m_pipeline.get(), [&](const SizedRect& picture) { *width = picture.width; });
}

HRESULT FilterGraph::get_SourceHeight(LONG* height)
{
    if (!height)
        return E_POINTER;
    return ReadPicture(m_pipeline.get(), [&](const SizedRect& picture) { *height = picture.height; });
}

HRESULT FilterGraph::GetVideoSize(LONG* width, LONG* height)
{
    if (!width || !height)
        return E_POINTER;
    return ReadPicture(m_pipeline.get(), [&](const SizedRect& picture) {
        *width = picture.width;
        *height = picture.height;
    });
}

// --- IAMStreamSelect ---

std::optional<FilterGraph::StreamAt> FilterGraph::FindStream(LONG index) const
{
    if (!m_pipeline || index < 0)
        return std::nullopt;
    int within = index;
    for (const StreamKind kind : {StreamKind::Audio, StreamKind::Subtitles}) {
        std::vector<StreamFacts> streams = m_pipeline->Streams(kind);
        if (within < static_cast<int>(streams.size()))
            return StreamAt{kind, within, std::move(streams[static_cast<std::size_t>(within)])};
        within -= static_cast<int>(streams.size());
    }
    return std::nullopt;
}

HRESULT FilterGraph::Count(DWORD* streams)
{
    if (!streams)
        return E_POINTER;
    *streams = 0;
    if (!m_pipeline)
        return VFW_E_WRONG_STATE;
    for (const StreamKind kind : {StreamKind::Audio, StreamKind::Subtitles})
        *streams += static_cast<DWORD>(m_pipeline->Streams(kind).size());
    return S_OK;
}

HRESULT FilterGraph::Info(LONG index, DWORD* flags, DWORD* group, std::string* name)
{
    const std::optional<StreamAt> stream = FindStream(index);
    if (!stream)
        return m_pipeline ? E_INVALIDARG : VFW_E_WRONG_STATE;
    const bool subtitles = stream->kind == StreamKind::Subtitles;
    const bool enabled =
        m_pipeline->CurrentStream(stream->kind) == stream->index && (!subtitles || m_pipeline->SubtitlesShown());
    if (flags)
        *flags = AMSTREAMSELECTINFO_EXCLUSIVE | (enabled ? AMSTREAMSELECTINFO_ENABLED : 0);
    if (group)
        *group = subtitles ? STREAM_GROUP_SUBTITLES : STREAM_GROUP_AUDIO;
    if (name)
        *name = StreamName(stream->facts);
    return S_OK;
}

HRESULT FilterGraph::Enable(LONG index, DWORD flags)
{
    const std::optional<StreamAt> stream = FindStream(index);
    if (!stream)
        return m_pipeline ? E_INVALIDARG : VFW_E_WRONG_STATE;
    const bool subtitles = stream->kind == StreamKind::Subtitles;
    if ((flags & AMSTREAMSELECTENABLE_ENABLE) == 0) {
        if (!subtitles)
            return E_INVALIDARG;  // some sound always plays
        if (m_pipeline->CurrentStream(stream->kind) == stream->index)
            m_pipeline->ShowSubtitles(false);
        return S_OK;
    }
    if (!m_pipeline->SelectStream(stream->kind, stream->index))
        return E_FAIL;
    if (subtitles)
        m_pipeline->ShowSubtitles(true);
    return S_OK;
}

// --- IMediaTags ---

HRESULT FilterGraph::GetTags(MediumTags* tags)
{
    if (!tags)
        return E_POINTER;
    if (!m_pipeline)
        return VFW_E_WRONG_STATE;
    *tags = m_pipeline->Tags();
    return S_OK;
}

}  // namespace platform::gst

namespace platform {

namespace {

bool GStreamerReady()
{
    static const bool ready = [] {
        GError* rawError = nullptr;
        const bool initialised = gst_init_check(nullptr, nullptr, &rawError);
        const gst::ErrorPtr error(rawError);
        if (!initialised)
            return false;
        gst::InitMediaLog();
        for (const char* name : {"playbin", "appsink", "videoconvert", "audioconvert", "volume", "fakesink"}) {
            const gst::ObjectPtr<GstElementFactory> factory(gst_element_factory_find(name));
            if (!factory)
                return false;
        }
        return true;
    }();
    return ready;
}

}  // namespace

bool RegisterFilterGraph()
{
    if (!GStreamerReady())
        return false;
    RegisterClassFactory(CLSID_FilterGraph,
                         []() -> IUnknown* { return static_cast<IGraphBuilder*>(new gst::FilterGraph()); });
    return true;
}

void PrepareFirstRender(const std::string& file)
{
    if (!GStreamerReady())
        return;
    const std::optional<std::string> uri = gst::MediaUri(file);
    if (!file.empty() && uri && !gst::IsUnreadableLocalFile(*uri))
        gst::BeginEarlyRender(file, *uri);
    else
        gst::PreloadDecodersSoon();
}

}  // namespace platform
