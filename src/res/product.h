#pragma once
// The maker's texts shown by the About box and the splash.

#include <string_view>

namespace res {

inline constexpr std::string_view kCreditLine = "Copyright (C) Quorvel";
inline constexpr std::string_view kHomePageUrl = "https://www.quorvel.com/vantrel/";

}  // namespace res
