#pragma once
// The filter-graph interfaces the player calls. The GStreamer graph registers
// itself as CLSID_FilterGraph (platform::RegisterFilterGraph); tests may register
// a fake instead.

#include "platform/com/com.h"

#include <string>

using OAHWND = std::intptr_t;  // a window handle (HWND) as the graph takes it
using OAEVENT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using LONGLONG = std::int64_t;
using BSTR = const char16_t*;

inline constexpr LONG OATRUE = -1;
inline constexpr LONG OAFALSE = 0;

// Graph events.
inline constexpr LONG EC_COMPLETE = 0x01;
inline constexpr LONG EC_USERABORT = 0x02;
inline constexpr LONG EC_ERRORABORT = 0x03;
inline constexpr LONG EC_STATE_CHANGE = 0x32;

// IMediaControl::GetState.
using OAFilterState = LONG;
inline constexpr OAFilterState State_Stopped = 0;
inline constexpr OAFilterState State_Paused = 1;
inline constexpr OAFilterState State_Running = 2;

// Render failures a caller may tell apart.
inline constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216u);
inline constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = static_cast<HRESULT>(0x80040265u);
inline constexpr HRESULT VFW_E_CANNOT_RENDER = static_cast<HRESULT>(0x80040218u);
inline constexpr HRESULT VFW_E_TIMEOUT = static_cast<HRESULT>(0x8004022Eu);
inline constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227u);

struct IGraphBuilder : IUnknown {
    // Builds the graph for a path or URL (UTF-8), waiting until it is ready to run.
    virtual HRESULT RenderFile(const char* file, const char* playList) = 0;

protected:
    ~IGraphBuilder() = default;
};

struct IMediaControl : IUnknown {
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT GetState(LONG timeoutMs, OAFilterState* state) = 0;

protected:
    ~IMediaControl() = default;
};

struct IMediaEventEx : IUnknown {
    // timeoutMs 0: answers E_ABORT at once when the queue is empty.
    virtual HRESULT GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs) = 0;
    virtual HRESULT FreeEventParams(LONG eventCode, LONG_PTR param1, LONG_PTR param2) = 0;
    // Posts `message` (wParam 0, lParam `instanceData`) to `hwnd` for each queued event.
    virtual HRESULT SetNotifyWindow(OAHWND hwnd, LONG message, LONG_PTR instanceData) = 0;

protected:
    ~IMediaEventEx() = default;
};

struct IVideoWindow : IUnknown {
    virtual HRESULT put_Owner(OAHWND owner) = 0;
    virtual HRESULT get_Owner(OAHWND* owner) = 0;
    virtual HRESULT put_WindowStyle(LONG style) = 0;
    virtual HRESULT put_MessageDrain(OAHWND drain) = 0;
    virtual HRESULT put_AutoShow(LONG autoShow) = 0;
    virtual HRESULT put_Visible(LONG visible) = 0;
    virtual HRESULT get_Visible(LONG* visible) = 0;
    virtual HRESULT SetWindowPosition(LONG left, LONG top, LONG width, LONG height) = 0;
    virtual HRESULT GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height) = 0;

protected:
    ~IVideoWindow() = default;
};

struct IMediaPosition : IUnknown {
    virtual HRESULT get_Duration(REFTIME* length) = 0;
    virtual HRESULT get_CurrentPosition(REFTIME* position) = 0;
    virtual HRESULT put_CurrentPosition(REFTIME position) = 0;

protected:
    ~IMediaPosition() = default;
};

struct IMediaSeeking : IUnknown {
    // 100 ns units.
    virtual HRESULT GetDuration(LONGLONG* duration) = 0;
    virtual HRESULT GetCurrentPosition(LONGLONG* position) = 0;

protected:
    ~IMediaSeeking() = default;
};

struct IBasicAudio : IUnknown {
    // Hundredths of a decibel, -10000 (silence) to 0.
    virtual HRESULT put_Volume(LONG volume) = 0;
    virtual HRESULT get_Volume(LONG* volume) = 0;

protected:
    ~IBasicAudio() = default;
};

struct IBasicVideo : IUnknown {
    virtual HRESULT get_SourceLeft(LONG* left) = 0;
    virtual HRESULT get_SourceTop(LONG* top) = 0;
    virtual HRESULT get_SourceWidth(LONG* width) = 0;
    virtual HRESULT get_SourceHeight(LONG* height) = 0;
    virtual HRESULT GetVideoSize(LONG* width, LONG* height) = 0;

protected:
    ~IBasicVideo() = default;
};

extern const CLSID CLSID_FilterGraph;
extern const IID IID_IGraphBuilder;
extern const IID IID_IMediaControl;
extern const IID IID_IMediaEventEx;
extern const IID IID_IVideoWindow;
extern const IID IID_IMediaPosition;
extern const IID IID_IMediaSeeking;
extern const IID IID_IBasicAudio;
extern const IID IID_IBasicVideo;

namespace platform {
// Registers the GStreamer graph as CLSID_FilterGraph. False when GStreamer cannot
// be initialised or lacks an element the graph needs; the class then stays
// unregistered and CoCreateInstance fails.
bool RegisterFilterGraph();
// Gets the graph ready for the program's first RenderFile while the window system
// starts: the medium named by `file` starts opening at once, and the first
// RenderFile of it takes that open over. With no medium (or one that cannot be
// read) the decoders most media need are loaded once the window is up.
void PrepareFirstRender(const std::string& file);
}  // namespace platform
