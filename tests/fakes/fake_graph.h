#pragma once
// A scripted stand-in for the filter graph. One object answers all eight graph
// interfaces, writes every call it receives into a shared log as readable text
// ("Run", "put_Visible(0)", "SetWindowPosition(0,0,320,240)", "RenderFile(a.mpg)")
// and answers from a script that the test fills in before (or while) the
// program talks to it. ScopedFakeGraph registers it as CLSID_FilterGraph.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/dshow.h"

namespace fakes {

// A sound or subtitle stream as IAMStreamSelect lists it.
struct FakeStream {
    DWORD group = STREAM_GROUP_AUDIO;
    std::string name;
    bool enabled = false;
};

struct FakeEvent {
    LONG code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
};

// What the graphs answer. Read at the moment of each call, so a test may change
// it between calls.
struct GraphScript {
    bool createFails = false;  // CoCreateInstance finds no object
    std::vector<IID> missing;  // interfaces that QueryInterface refuses
    HRESULT renderResult = S_OK;
    LONG sourceLeft = 0;
    LONG sourceTop = 0;
    LONG sourceWidth = 320;
    LONG sourceHeight = 240;
    HRESULT sourceResult = S_OK;  // failing getters write nothing
    HRESULT putVolumeResult = S_OK;
    REFTIME duration = 60.0;
    HRESULT durationResult = S_OK;  // failing get_Duration writes nothing
    REFTIME position = 0.0;         // moved by put_CurrentPosition
    std::deque<FakeEvent> events;   // GetEvent takes from the front
    // IAMStreamSelect's list; Enable keeps one stream of a group enabled, or no subtitles.
    std::vector<FakeStream> streams;
    MediumTags tags;  // what IMediaTags answers
};

// Everything the graphs share with the test. Outlives the graphs it made.
struct GraphRecord {
    GraphScript script;
    std::vector<std::string> log;
    int created = 0;  // objects made by the factory
    int alive = 0;    // objects not yet destroyed
    ULONG refs = 0;   // references held on the newest object
    LONG volume = 0;  // last value put_Volume accepted
    LONG visible = OAFALSE;
    OAFilterState filterState = State_Stopped;
    OAHWND owner = 0;
    OAHWND drain = 0;
    OAHWND notifyWindow = 0;
    LONG notifyMessage = 0;
    LONG_PTR notifyData = 0;
};

// Registers the fake as CLSID_FilterGraph for its lifetime and puts back the
// factory that was registered before.
class ScopedFakeGraph {
public:
    ScopedFakeGraph();
    ~ScopedFakeGraph();
    ScopedFakeGraph(const ScopedFakeGraph&) = delete;
    ScopedFakeGraph& operator=(const ScopedFakeGraph&) = delete;

    GraphScript& Script() { return m_record->script; }
    const GraphRecord& Record() const { return *m_record; }

    const std::vector<std::string>& Log() const { return m_record->log; }
    // The log without the entries `skip` says yes to.
    std::vector<std::string> LogWithout(const std::function<bool(const std::string&)>& skip) const;
    void ClearLog() { m_record->log.clear(); }

    // Makes the interface missing from graphs (also from ones already made).
    void Refuse(REFIID iid);
    // Queues an event; GetEvent hands it out later.
    void QueueEvent(LONG code, LONG_PTR param1 = 0, LONG_PTR param2 = 0);
    // Queues an event and posts the notification message to the window set by
    // SetNotifyWindow, the way the real graph does.
    void NotifyEvent(LONG code, LONG_PTR param1 = 0, LONG_PTR param2 = 0);

private:
    std::shared_ptr<GraphRecord> m_record;
    platform::ClassFactory m_previous;
};

// The readable name of a graph interface id, as the log writes it.
std::string InterfaceName(REFIID iid);
// A handle as the log writes it.
std::string HandleText(OAHWND handle);

}  // namespace fakes
