#include "fakes/fake_graph.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "platform/framework/wnd.h"

namespace fakes {
namespace {

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

class FakeFilterGraph final : public IGraphBuilder,
                              public IMediaControl,
                              public IMediaEventEx,
                              public IVideoWindow,
                              public IMediaPosition,
                              public IMediaSeeking,
                              public IBasicAudio,
                              public IBasicVideo,
                              public IAMStreamSelect,
                              public IMediaTags {
public:
    explicit FakeFilterGraph(std::shared_ptr<GraphRecord> record)
        : m_record(std::move(record)), m_serial(++m_record->created)
    {
        ++m_record->alive;
        m_record->refs = m_refs;
    }
    ~FakeFilterGraph() { --m_record->alive; }
    FakeFilterGraph(const FakeFilterGraph&) = delete;
    FakeFilterGraph& operator=(const FakeFilterGraph&) = delete;

    // IUnknown
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        Log("QueryInterface(" + InterfaceName(iid) + ")");
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (IsMissing(iid))
            return E_NOINTERFACE;
        void* found = Find(iid);
        if (found == nullptr)
            return E_NOINTERFACE;
        *object = found;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override
    {
        ++m_refs;
        Mirror();
        return m_refs;
    }
    ULONG Release() override
    {
        const ULONG left = --m_refs;
        Mirror();
        if (left == 0)
            delete this;
        return left;
    }

    // IGraphBuilder
    HRESULT RenderFile(const char* file, const char* playList) override
    {
        std::string entry = "RenderFile(" + std::string(file != nullptr ? file : "<null>");
        if (playList != nullptr)
            entry += std::string(",") + playList;
        Log(entry + ")");
        return m_record->script.renderResult;
    }

    // IMediaControl
    HRESULT Run() override
    {
        Log("Run");
        m_record->filterState = State_Running;
        return S_OK;
    }
    HRESULT Pause() override
    {
        Log("Pause");
        m_record->filterState = State_Paused;
        return S_OK;
    }
    HRESULT Stop() override
    {
        Log("Stop");
        m_record->filterState = State_Stopped;
        return S_OK;
    }
    HRESULT GetState(LONG timeoutMs, OAFilterState* state) override
    {
        Log("GetState(" + std::to_string(timeoutMs) + ")");
        if (state == nullptr)
            return E_POINTER;
        *state = m_record->filterState;
        return S_OK;
    }

    // IMediaEventEx
    HRESULT GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs) override
    {
        Log("GetEvent(" + std::to_string(timeoutMs) + ")");
        if (eventCode == nullptr || param1 == nullptr || param2 == nullptr)
            return E_POINTER;
        auto& events = m_record->script.events;
        if (events.empty())
            return E_ABORT;
        *eventCode = events.front().code;
        *param1 = events.front().param1;
        *param2 = events.front().param2;
        events.pop_front();
        return S_OK;
    }
    HRESULT FreeEventParams(LONG eventCode, LONG_PTR param1, LONG_PTR param2) override
    {
        Log("FreeEventParams(" + std::to_string(eventCode) + "," + std::to_string(param1) + "," +
            std::to_string(param2) + ")");
        return S_OK;
    }
    HRESULT SetNotifyWindow(OAHWND hwnd, LONG message, LONG_PTR instanceData) override
    {
        Log("SetNotifyWindow(" + HandleText(hwnd) + "," + std::to_string(message) + "," + std::to_string(instanceData) +
            ")");
        m_record->notifyWindow = hwnd;
        m_record->notifyMessage = message;
        m_record->notifyData = instanceData;
        return S_OK;
    }

    // IVideoWindow
    HRESULT put_Owner(OAHWND owner) override
    {
        Log("put_Owner(" + HandleText(owner) + ")");
        m_record->owner = owner;
        return S_OK;
    }
    HRESULT get_Owner(OAHWND* owner) override
    {
        Log("get_Owner");
        if (owner == nullptr)
            return E_POINTER;
        *owner = m_record->owner;
        return S_OK;
    }
    HRESULT put_WindowStyle(LONG style) override
    {
        Log("put_WindowStyle(" + Hex(static_cast<DWORD>(style)) + ")");
        return S_OK;
    }
    HRESULT put_MessageDrain(OAHWND drain) override
    {
        Log("put_MessageDrain(" + HandleText(drain) + ")");
        m_record->drain = drain;
        return S_OK;
    }
    HRESULT put_AutoShow(LONG autoShow) override
    {
        Log("put_AutoShow(" + std::to_string(autoShow) + ")");
        return S_OK;
    }
    HRESULT put_Visible(LONG visible) override
    {
        Log("put_Visible(" + std::to_string(visible) + ")");
        m_record->visible = visible;
        return S_OK;
    }
    HRESULT get_Visible(LONG* visible) override
    {
        Log("get_Visible");
        if (visible == nullptr)
            return E_POINTER;
        *visible = m_record->visible;
        return S_OK;
    }
    HRESULT SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override
    {
        Log("SetWindowPosition(" + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) +
            "," + std::to_string(height) + ")");
        m_left = left;
        m_top = top;
        m_width = width;
        m_height = height;
        return S_OK;
    }
    HRESULT GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height) override
    {
        Log("GetWindowPosition");
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
            return E_POINTER;
        *left = m_left;
        *top = m_top;
        *width = m_width;
        *height = m_height;
        return S_OK;
    }

    // IMediaPosition
    HRESULT get_Duration(REFTIME* length) override
    {
        Log("get_Duration");
        if (length == nullptr)
            return E_POINTER;
        if (FAILED(m_record->script.durationResult))
            return m_record->script.durationResult;
        *length = m_record->script.duration;
        return S_OK;
    }
    HRESULT get_CurrentPosition(REFTIME* position) override
    {
        Log("get_CurrentPosition");
        if (position == nullptr)
            return E_POINTER;
        *position = m_record->script.position;
        return S_OK;
    }
    HRESULT put_CurrentPosition(REFTIME position) override
    {
        Log("put_CurrentPosition(" + Number(position) + ")");
        m_record->script.position = position;
        return S_OK;
    }

    // IMediaSeeking
    HRESULT GetDuration(LONGLONG* duration) override
    {
        Log("GetDuration");
        if (duration == nullptr)
            return E_POINTER;
        *duration = static_cast<LONGLONG>(m_record->script.duration * 1e7);
        return S_OK;
    }
    HRESULT GetCurrentPosition(LONGLONG* position) override
    {
        Log("GetCurrentPosition");
        if (position == nullptr)
            return E_POINTER;
        *position = static_cast<LONGLONG>(m_record->script.position * 1e7);
        return S_OK;
    }

    // IBasicAudio
    HRESULT put_Volume(LONG volume) override
    {
        Log("put_Volume(" + std::to_string(volume) + ")");
        if (FAILED(m_record->script.putVolumeResult))
            return m_record->script.putVolumeResult;
        m_record->volume = volume;
        return S_OK;
    }
    HRESULT get_Volume(LONG* volume) override
    {
        Log("get_Volume");
        if (volume == nullptr)
            return E_POINTER;
        *volume = m_record->volume;
        return S_OK;
    }

    // IBasicVideo
    HRESULT get_SourceLeft(LONG* left) override { return Source("get_SourceLeft", left, m_record->script.sourceLeft); }
    HRESULT get_SourceTop(LONG* top) override { return Source("get_SourceTop", top, m_record->script.sourceTop); }
    HRESULT get_SourceWidth(LONG* width) override
    {
        return Source("get_SourceWidth", width, m_record->script.sourceWidth);
    }
    HRESULT get_SourceHeight(LONG* height) override
    {
        return Source("get_SourceHeight", height, m_record->script.sourceHeight);
    }
    HRESULT GetVideoSize(LONG* width, LONG* height) override
    {
        Log("GetVideoSize");
        if (width == nullptr || height == nullptr)
            return E_POINTER;
        if (FAILED(m_record->script.sourceResult))
            return m_record->script.sourceResult;
        *width = m_record->script.sourceWidth;
        *height = m_record->script.sourceHeight;
        return S_OK;
    }

    // IAMStreamSelect
    HRESULT Count(DWORD* streams) override
    {
        Log("Count");
        if (streams == nullptr)
            return E_POINTER;
        *streams = static_cast<DWORD>(m_record->script.streams.size());
        return S_OK;
    }
    HRESULT Info(LONG index, DWORD* flags, DWORD* group, std::string* name) override
    {
        Log("Info(" + std::to_string(index) + ")");
        auto& streams = m_record->script.streams;
        if (index < 0 || index >= static_cast<LONG>(streams.size()))
            return E_INVALIDARG;
        const FakeStream& stream = streams[static_cast<std::size_t>(index)];
        if (flags != nullptr)
            *flags = AMSTREAMSELECTINFO_EXCLUSIVE | (stream.enabled ? AMSTREAMSELECTINFO_ENABLED : 0);
        if (group != nullptr)
            *group = stream.group;
        if (name != nullptr)
            *name = stream.name;
        return S_OK;
    }
    HRESULT Enable(LONG index, DWORD flags) override
    {
        Log("Enable(" + std::to_string(index) + "," + std::to_string(flags) + ")");
        auto& streams = m_record->script.streams;
        if (index < 0 || index >= static_cast<LONG>(streams.size()))
            return E_INVALIDARG;
        FakeStream& chosen = streams[static_cast<std::size_t>(index)];
        if ((flags & AMSTREAMSELECTENABLE_ENABLE) == 0) {
            if (chosen.group == STREAM_GROUP_AUDIO)
                return E_INVALIDARG;
            chosen.enabled = false;
            return S_OK;
        }
        for (FakeStream& stream : streams) {
            if (stream.group == chosen.group)
                stream.enabled = false;
        }
        chosen.enabled = true;
        return S_OK;
    }

    // IMediaTags
    HRESULT GetTags(MediumTags* tags) override
    {
        Log("GetTags");
        if (tags == nullptr)
            return E_POINTER;
        *tags = m_record->script.tags;
        return S_OK;
    }

private:
    void Log(std::string entry) { m_record->log.push_back(std::move(entry)); }

    // Only the newest object's count is shown: the program holds one graph at a time.
    void Mirror()
    {
        if (m_serial == m_record->created)
            m_record->refs = m_refs;
    }

    bool IsMissing(REFIID iid) const
    {
        const auto& missing = m_record->script.missing;
        return std::find(missing.begin(), missing.end(), iid) != missing.end();
    }

    void* Find(REFIID iid)
    {
        if (iid == IID_IUnknown || iid == IID_IGraphBuilder)
            return static_cast<IGraphBuilder*>(this);
        if (iid == IID_IMediaControl)
            return static_cast<IMediaControl*>(this);
        if (iid == IID_IMediaEventEx)
            return static_cast<IMediaEventEx*>(this);
        if (iid == IID_IVideoWindow)
            return static_cast<IVideoWindow*>(this);
        if (iid == IID_IMediaPosition)
            return static_cast<IMediaPosition*>(this);
        if (iid == IID_IMediaSeeking)
            return static_cast<IMediaSeeking*>(this);
        if (iid == IID_IBasicAudio)
            return static_cast<IBasicAudio*>(this);
        if (iid == IID_IBasicVideo)
            return static_cast<IBasicVideo*>(this);
        if (iid == IID_IAMStreamSelect)
            return static_cast<IAMStreamSelect*>(this);
        if (iid == IID_IMediaTags)
            return static_cast<IMediaTags*>(this);
        return nullptr;
    }

    HRESULT Source(const char* name, LONG* out, LONG value)
    {
        Log(name);
        if (out == nullptr)
            return E_POINTER;
        if (FAILED(m_record->script.sourceResult))
            return m_record->script.sourceResult;
        *out = value;
        return S_OK;
    }

    std::shared_ptr<GraphRecord> m_record;
    int m_serial;
    ULONG m_refs = 1;
    LONG m_left = 0;
    LONG m_top = 0;
    LONG m_width = 0;
    LONG m_height = 0;
};

}  // namespace

std::string InterfaceName(REFIID iid)
{
    if (iid == IID_IUnknown)
        return "IUnknown";
    if (iid == IID_IGraphBuilder)
        return "IGraphBuilder";
    if (iid == IID_IMediaControl)
        return "IMediaControl";
    if (iid == IID_IMediaEventEx)
        return "IMediaEventEx";
    if (iid == IID_IVideoWindow)
        return "IVideoWindow";
    if (iid == IID_IMediaPosition)
        return "IMediaPosition";
    if (iid == IID_IMediaSeeking)
        return "IMediaSeeking";
    if (iid == IID_IBasicAudio)
        return "IBasicAudio";
    if (iid == IID_IBasicVideo)
        return "IBasicVideo";
    if (iid == IID_IAMStreamSelect)
        return "IAMStreamSelect";
    if (iid == IID_IMediaTags)
        return "IMediaTags";
    return "unknown interface";
}

std::string HandleText(OAHWND handle)
{
    char text[32];
    std::snprintf(text, sizeof text, "%#llx", static_cast<unsigned long long>(handle));
    return text;
}

ScopedFakeGraph::ScopedFakeGraph() : m_record(std::make_shared<GraphRecord>())
{
    std::weak_ptr<GraphRecord> weak = m_record;
    m_previous = platform::RegisterClassFactory(CLSID_FilterGraph, [weak]() -> IUnknown* {
        const auto record = weak.lock();
        if (!record)
            return nullptr;
        record->log.push_back("CoCreateInstance");
        if (record->script.createFails)
            return nullptr;
        return static_cast<IGraphBuilder*>(new FakeFilterGraph(record));
    });
}

ScopedFakeGraph::~ScopedFakeGraph()
{
    platform::RegisterClassFactory(CLSID_FilterGraph, std::move(m_previous));
}

std::vector<std::string> ScopedFakeGraph::LogWithout(const std::function<bool(const std::string&)>& skip) const
{
    std::vector<std::string> kept;
    std::copy_if(m_record->log.begin(), m_record->log.end(), std::back_inserter(kept),
                 [&skip](const std::string& entry) { return !skip(entry); });
    return kept;
}

void ScopedFakeGraph::Refuse(REFIID iid)
{
    m_record->script.missing.push_back(iid);
}

void ScopedFakeGraph::QueueEvent(LONG code, LONG_PTR param1, LONG_PTR param2)
{
    m_record->script.events.push_back({code, param1, param2});
}

void ScopedFakeGraph::NotifyEvent(LONG code, LONG_PTR param1, LONG_PTR param2)
{
    QueueEvent(code, param1, param2);
    if (CWnd* window = CWnd::FromHandle(reinterpret_cast<HWND>(m_record->notifyWindow)))
        window->PostMessage(static_cast<UINT>(m_record->notifyMessage), 0, m_record->notifyData);
}

}  // namespace fakes
