#pragma once
// printf into a std::string of whatever length the text needs.

#include <string>

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
