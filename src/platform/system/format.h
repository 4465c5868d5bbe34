#pragma once
// printf into a std::string of whatever length the text needs. Header-only, so
// the pure rules can use it too.

#include <cstdarg>
#include <cstdio>
#include <string>

inline std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

inline std::string Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);

    std::string text;
    if (length > 0) {
        // vsnprintf writes the terminating NUL too; std::string keeps room for it.
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, fmt, args);
    }
    va_end(args);
    return text;
}
