#pragma once
// The maker's texts shown by the About box and the splash.

#include <string_view>

namespace res {

inline constexpr std::string_view kCreditLine = "Copyright (C) Quorvel";
inline constexpr std::string_view kHomePageUrl = "https://www.quorvel.com/vantrel/";

// The player window's titles: its name, then the transport's state after it.
inline constexpr const char* kWindowTitle = "Telvo";
inline constexpr const char* kTitlePlaying = "Telvo Playing.";
inline constexpr const char* kTitlePaused = "Telvo Paused.";
inline constexpr const char* kTitleStopped = "Telvo Stopped.";

}  // namespace res
