#pragma once
// One medium in a playbin. Open builds and prerolls it; the UI thread then runs,
// pauses and seeks it. Bus messages are handled on the thread that posts them,
// and the observer hears of the end of the stream, errors and new pictures
// there: it must not wait for the UI thread.

// Our headers first: GLib's TRUE and FALSE macros would break the constants of
// the same names.
#include "platform/com/dshow.h"
#include "platform/media/gst_handles.h"
#include "platform/media/media_streams.h"
#include "platform/media/medium_tags.h"
#include "platform/media/medium_timeline.h"
#include "platform/media/picture_progress.h"

#include <gst/app/gstappsink.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform::gst {

struct PipelineObserver {
    virtual void OnEndOfStream() = 0;
    virtual void OnError(HRESULT error) = 0;
    // A decoded picture in one of the sink's formats; the observer takes its own reference if it keeps it.
    virtual void OnFrame(GstSample* sample) = 0;
    // The title, artist, album or cover changed; Tags() tells them.
    virtual void OnTagsChanged() = 0;
    // The length became known or changed; Duration() tells it.
    virtual void OnLengthChanged() = 0;

protected:
    ~PipelineObserver() = default;
};

// How long Open waits for a medium to get ready: 15 s, or VANTREL_RENDER_TIMEOUT_MS.
std::chrono::milliseconds RenderBound();

class MediaPipeline {
public:
    // Without an observer the latest picture is held until Attach.
    MediaPipeline();
    explicit MediaPipeline(PipelineObserver& observer);
    // Stops every streaming thread before anything is freed.
    ~MediaPipeline();
    MediaPipeline(const MediaPipeline&) = delete;
    MediaPipeline& operator=(const MediaPipeline&) = delete;

    // Once per pipeline: Start and then Finish. The pipeline is silent until SetVolume.
    // Builds the pipeline and sets it prerolling without waiting for it; any thread.
    void Start(const std::string& uri);
    // Waits, at most `bound`, until the started medium is paused on its first
    // picture or sound. A failure leaves the pipeline torn down. The UI thread.
    HRESULT Finish(std::chrono::milliseconds bound);
    // The observer from now on; it hears of the picture held meanwhile at once.
    void Attach(PipelineObserver& observer);
    const std::string& Uri() const { return m_uri; }

    bool Play();
    bool Pause();
    // Flushing and accurate; after the end of the stream a playing pipeline plays
    // on from the new position.
    bool Seek(double seconds);

    // Both on the medium's own time line: from 0 at its start to its length.
    std::optional<double> Duration() const;
    std::optional<double> Position() const;
    bool HasAudio() const;
    bool HasVideo() const;
    // The picture's size (left and top 0) in square pixels: the stored width corrected by the pixel aspect
    // ratio, and upright when the medium says it is turned. A sound medium's cover
    // is its picture.
    std::optional<SizedRect> Picture() const;
    MediumTags Tags() const;

    // The audio or subtitle streams in the medium's order, and the one playing
    // (-1 for none). Selecting keeps the position; a sound stream changes without
    // a gap in the picture.
    std::vector<StreamFacts> Streams(StreamKind kind) const;
    int CurrentStream(StreamKind kind) const;
    bool SelectStream(StreamKind kind, int index);
    // Whether the selected subtitle stream is drawn into the picture.
    bool SubtitlesShown() const;
    void ShowSubtitles(bool shown);
    // Linear gain, 0 for silence.
    void SetVolume(double gain);

private:
    static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* message, gpointer self);
    static GstPadProbeReturn OnDecoded(GstPad* pad, GstPadProbeInfo* info, gpointer self);
    static void OnErrorPosted(GstElement* source, GstMessage* error, gpointer self);
    static void OnElementAdded(GstBin* bin, GstBin* parent, GstElement* element, gpointer self);
    static void OnTypeFound(GstElement* typefind, guint probability, GstCaps* caps, gpointer self);
    static GstFlowReturn OnPreroll(GstAppSink* sink, gpointer self);
    static GstFlowReturn OnSample(GstAppSink* sink, gpointer self);
    bool Build(const std::string& uri);
    // Chooses each kind's first stream as the streams start, before their data flows:
    // a switch later would lose the subtitle under way (playbin sends it once) and a
    // flushing seek after a switch in the paused state can hang playbin.
    static void OnAudioChanged(GstElement* playbin, gpointer self);
    static void OnTextChanged(GstElement* playbin, gpointer self);
    static GstPadProbeReturn OnStreamStart(GstPad* pad, GstPadProbeInfo* info, gpointer watch);
    void WatchStreamStarts(StreamKind kind);
    void TakeStreamStart(StreamKind kind, int index, GstPad* pad, GstEvent* start);
    // `start`: the stream's start event, when it is not yet stored on the pad.
    StreamFacts FactsOf(StreamKind kind, int index, GstPad* pad, GstEvent* start) const;
    void ShowCoverAsPicture();
    bool IsFromSubtitleFile(GstObject* object) const;
    void TakeTags(GstMessage* message);
    HRESULT AwaitPreroll(std::chrono::milliseconds bound);
    void DeliverFrame(GstSample* sample);
    void HandleBusMessage(GstMessage* message);
    void TearDown();
    int StreamCount(const char* property) const;
    double StreamStart() const;

    std::string m_uri;
    // The subtitle file beside a local medium; set before any streaming thread runs.
    std::string m_subtitleUri;
    // Start's outcome, for Finish.
    bool m_built = false;
    GstStateChangeReturn m_startChange = GST_STATE_CHANGE_FAILURE;

    // Streaming threads deliver under this lock, so a picture held before Attach
    // reaches the observer before any later one.
    std::mutex m_observerMutex;
    PipelineObserver* m_observer = nullptr;
    SamplePtr m_heldSample;

    ElementPtr m_playbin;
    ElementPtr m_videoSink;
    ElementPtr m_audioSink;
    // A sound medium's cover, decoded once it is open. UI thread.
    SamplePtr m_cover;
    TagCollector m_tags;
    PictureProgress m_pictures;
    BusPtr m_bus;
    MediumTimeline m_timeline;

    // Shared with the threads that post bus messages.
    mutable std::mutex m_mutex;
    std::condition_variable m_settled;
    // A decoded picture or sound reached a sink.
    std::atomic<bool> m_decoded = false;
    bool m_opened = false;
    bool m_prerolled = false;
    std::optional<HRESULT> m_openError;
    std::optional<gint64> m_seekTarget;
    // The stream of each kind chosen to play first, as it started.
    std::optional<StreamFacts> m_firstAudio;
    std::optional<StreamFacts> m_firstSubtitles;
    // Errors posted inside the pipeline before the open ended, each with its source.
    std::vector<std::pair<ObjectPtr<GstElement>, HRESULT>> m_postedErrors;
};

}  // namespace platform::gst
