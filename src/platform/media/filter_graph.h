#pragma once
// The filter graph: one COM object with every graph interface, backed by a
// playbin per rendered medium. Its methods are for the UI thread; GStreamer's
// threads reach only the event queue and the latest picture.

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/com/dshow.h"
#include "platform/media/event_queue.h"
#include "platform/media/media_pipeline.h"
#include "platform/media/seek_progress.h"
#include "platform/media/video_output.h"

namespace platform::gst {

class FilterGraph final : public IGraphBuilder,
                          public IMediaControl,
                          public IMediaEventEx,
                          public IVideoWindow,
                          public IMediaPosition,
                          public IMediaSeeking,
                          public IBasicAudio,
                          public IBasicVideo,
                          public IAMStreamSelect,
                          public IMediaTags,
                          private PipelineObserver {
public:
    FilterGraph();
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;

    // IUnknown
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // IGraphBuilder
    HRESULT RenderFile(const char* file, const char* playList) override;

    // IMediaControl
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(LONG timeoutMs, OAFilterState* state) override;

    // IMediaEventEx
    HRESULT GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs) override;
    HRESULT FreeEventParams(LONG eventCode, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT SetNotifyWindow(OAHWND hwnd, LONG message, LONG_PTR instanceData) override;

    // IVideoWindow
    HRESULT put_Owner(OAHWND owner) override;
    HRESULT get_Owner(OAHWND* owner) override;
    HRESULT put_WindowStyle(LONG style) override;
    HRESULT put_MessageDrain(OAHWND drain) override;
    HRESULT put_AutoShow(LONG autoShow) override;
    HRESULT put_Visible(LONG visible) override;
    HRESULT get_Visible(LONG* visible) override;
    HRESULT SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override;
    HRESULT GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height) override;

    // IMediaPosition
    HRESULT get_Duration(REFTIME* length) override;
    HRESULT get_CurrentPosition(REFTIME* position) override;
    HRESULT put_CurrentPosition(REFTIME position) override;

    // IMediaSeeking
    HRESULT GetDuration(LONGLONG* duration) override;
    HRESULT GetCurrentPosition(LONGLONG* position) override;

    // IBasicAudio
    HRESULT put_Volume(LONG volume) override;
    HRESULT get_Volume(LONG* volume) override;

    // IBasicVideo
    HRESULT get_SourceLeft(LONG* left) override;
    HRESULT get_SourceTop(LONG* top) override;
    HRESULT get_SourceWidth(LONG* width) override;
    HRESULT get_SourceHeight(LONG* height) override;
    HRESULT GetVideoSize(LONG* width, LONG* height) override;

    // IAMStreamSelect
    HRESULT Count(DWORD* streams) override;
    HRESULT Info(LONG index, DWORD* flags, DWORD* group, std::string* name) override;
    HRESULT Enable(LONG index, DWORD flags) override;

    // IMediaTags
    HRESULT GetTags(MediumTags* tags) override;

private:
    ~FilterGraph();

    // PipelineObserver, called on GStreamer's threads.
    void OnEndOfStream() override;
    void OnError(HRESULT error) override;
    void OnFrame(GstSample* sample) override;
    void OnTagsChanged() override;
    void OnLengthChanged() override;

    struct StreamAt {
        StreamKind kind = StreamKind::Audio;
        int index = -1;  // within its kind
        StreamFacts facts;
    };
    // The stream IAMStreamSelect numbers `index`; nothing outside the list.
    std::optional<StreamAt> FindStream(LONG index) const;

    void ReleasePipeline();
    // UI thread: an end of stream that the last seek met at once.
    bool EndedWithoutProgress(const GraphEvent& event) const;

    std::atomic<ULONG> m_references{1};
    EventQueue m_events;
    VideoOutput m_video;
    OAFilterState m_state = State_Stopped;
    LONG m_volume = 0;
    std::atomic<std::uint64_t> m_pictures{0};
    std::optional<SeekMark> m_lastSeek;
    // Last: its streaming threads use the members above.
    std::unique_ptr<MediaPipeline> m_pipeline;
};

}  // namespace platform::gst
