#pragma once
// Resource and command ids.

#include "platform/system/win_types.h"

inline constexpr UINT IDD_ABOUTBOX = 100;
inline constexpr UINT IDD_PLAYER = 102;
inline constexpr UINT IDR_POPUP = 103;
inline constexpr UINT IDR_MAINFRAME = 128;
inline constexpr UINT IDC_DRAG = 129;
inline constexpr UINT IDD_LABEL_PANEL = 130;
inline constexpr UINT IDD_OPEN_MEDIA = 131;

inline constexpr int IDC_HOMEPAGE = 1002;
inline constexpr int IDC_BROWSE = 1004;
inline constexpr int IDC_URL = 1005;

inline constexpr UINT ID_PLAY_PAUSE = 32771;
inline constexpr UINT ID_STOP = 32772;
inline constexpr UINT ID_AUTO_REWIND = 32776;
inline constexpr UINT ID_REPEAT = 32777;
inline constexpr UINT ID_STRETCH = 32778;
inline constexpr UINT ID_AUTO_ZOOM = 32779;
inline constexpr UINT ID_VOLUME_UP = 32780;
inline constexpr UINT ID_VOLUME_DOWN = 32781;
inline constexpr UINT ID_ZOOM_50 = 32782;
inline constexpr UINT ID_ZOOM_100 = 32783;
inline constexpr UINT ID_ZOOM_200 = 32784;
inline constexpr UINT ID_ZOOM_25 = 32785;
inline constexpr UINT ID_ZOOM_MAX = 32786;
inline constexpr UINT ID_ZOOM_MIN = 32787;
// Commands that only keys give: moving in the medium and choosing its streams.
inline constexpr UINT ID_SEEK_FORWARD = 32790;
inline constexpr UINT ID_SEEK_BACK = 32791;
inline constexpr UINT ID_SEEK_FORWARD_LONG = 32792;
inline constexpr UINT ID_SEEK_BACK_LONG = 32793;
inline constexpr UINT ID_SEEK_START = 32794;
inline constexpr UINT ID_NEXT_SUBTITLES = 32795;
inline constexpr UINT ID_TOGGLE_SUBTITLES = 32796;
inline constexpr UINT ID_NEXT_AUDIO = 32797;
// An open asked for from outside (the desktop); the medium waits in the player window.
inline constexpr UINT ID_OPEN_REQUESTED = 32798;
inline constexpr UINT ID_FILE_OPEN = 57601;
inline constexpr UINT ID_APP_ABOUT = 57664;
// ID_APP_EXIT (57665) and ID_HELP (57670) come with the application object.

// The two timers, each on its window, and the period both beat at.
inline constexpr std::uintptr_t TIMER_SPLASH = 50;  // the label panel's fading splash
inline constexpr std::uintptr_t TIMER_STATUS = 51;  // the player's status line and bar
inline constexpr UINT kTickPeriodMs = 50;

// Private messages.
inline constexpr UINT WM_GRAPHNOTIFY = WM_USER + 13;
