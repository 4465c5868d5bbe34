#pragma once
// A point in time as local calendar text.

#include <cstdint>
#include <string>

// strftime of `t` (seconds since 1970) in local time. Names of days and months are
// always English, whatever the user's locale. Empty for a negative time or when the
// time cannot be converted.
std::string FormatLocalTime(std::int64_t t, const char* format);
