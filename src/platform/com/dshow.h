#pragma once
// The filter-graph interfaces the player calls. The GStreamer graph registers
// itself as CLSID_FilterGraph (platform::RegisterFilterGraph); tests may register
// a fake instead.

#include "platform/com/com.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using OAHWND = std::intptr_t;  // a window handle (HWND) as the graph takes it
using OAEVENT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using LONGLONG = std::int64_t;
using BSTR = const char16_t*;

inline constexpr LONG OATRUE = -1;
inline constexpr LONG OAFALSE = 0;

// Graph events.
inline constexpr LONG EC_COMPLETE = 0x01;
// Never queued here (the graph has no user to abort it); the transport takes it as an end.
inline constexpr LONG EC_USERABORT = 0x02;
inline constexpr LONG EC_ERRORABORT = 0x03;
// The length of the medium became known or changed (a stream whose length shows
// only once it plays).
inline constexpr LONG EC_LENGTH_CHANGED = 0x1F;
// Codes from EC_USER up are the graph's own. The medium's tags changed (IMediaTags).
inline constexpr LONG EC_USER = 0x8000;
inline constexpr LONG EC_TAGS_CHANGED = EC_USER + 1;

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

// IBasicAudio's volume for silence, in hundredths of a decibel.
inline constexpr LONG kSilentAttenuation = -10000;

struct IBasicAudio : IUnknown {
    // Hundredths of a decibel, kSilentAttenuation (silence) to 0.
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

// IAMStreamSelect: Info's flags, Enable's flags and the groups the graph reports.
inline constexpr DWORD AMSTREAMSELECTINFO_ENABLED = 0x1;
inline constexpr DWORD AMSTREAMSELECTINFO_EXCLUSIVE = 0x2;
inline constexpr DWORD AMSTREAMSELECTENABLE_ENABLE = 0x1;
inline constexpr DWORD STREAM_GROUP_AUDIO = 1;
inline constexpr DWORD STREAM_GROUP_SUBTITLES = 2;

// The medium's audio and subtitle streams: the audio streams first, then the
// subtitle streams, each group in the medium's order. One audio stream plays at
// a time; the subtitles show one stream or none.
struct IAMStreamSelect : IUnknown {
    virtual HRESULT Count(DWORD* streams) = 0;
    // `name`: the stream's language and title as far as the medium tells them.
    virtual HRESULT Info(LONG index, DWORD* flags, DWORD* group, std::string* name) = 0;
    // AMSTREAMSELECTENABLE_ENABLE plays (or shows) that stream in place of the
    // others of its group; 0 hides a subtitle stream. An audio stream cannot be
    // turned off (E_INVALIDARG).
    virtual HRESULT Enable(LONG index, DWORD flags) = 0;

protected:
    ~IAMStreamSelect() = default;
};

// What the medium's tags say of it, for the desktop's media controls.
struct MediumTags {
    std::string title;  // empty when the medium names none
    std::string artist;
    std::string album;
    // The cover picture as the medium stores it (PNG, JPEG...), and its MIME type.
    std::shared_ptr<const std::vector<std::uint8_t>> cover;
    std::string coverType;
    // The cover is shown as the picture: the medium has no picture of its own.
    bool coverIsPicture = false;
    friend bool operator==(const MediumTags&, const MediumTags&) = default;
};

// Not a DirectShow interface: the tags a Linux desktop shows of the medium playing.
// Their changes are queued as EC_TAGS_CHANGED.
struct IMediaTags : IUnknown {
    virtual HRESULT GetTags(MediumTags* tags) = 0;

protected:
    ~IMediaTags() = default;
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
extern const IID IID_IAMStreamSelect;
extern const IID IID_IMediaTags;

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
