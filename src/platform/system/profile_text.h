#pragma once
// The settings file's text: an INI file of [sections] and name=value lines that hold
// 32-bit numbers. Section and value names match whatever their (ASCII) case, as the
// registry matches them; of two lines for one name the later counts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A decimal 32-bit number with blanks around it at most; anything else is none.
std::optional<int> ParseProfileNumber(std::string_view text);

// Whether a section or value name can be written and read back as the same name.
bool IsProfileName(std::string_view name);

// Whether two names are one, whatever their case.
bool SameProfileName(std::string_view a, std::string_view b);

// The number stored for `entry` in `section`; none when missing or not a number.
std::optional<int> FindProfileValue(std::string_view fileText, std::string_view section, std::string_view entry);

struct ProfileValue {
    std::string section;
    std::string entry;
    int value = 0;
};

// The file's text with the values set, each once and spelt as given here. Of the rest only
// values that read as numbers stay, in their order; text values, comments and damaged
// lines go, as the program never reads them.
std::string MergeProfileText(std::string_view fileText, const std::vector<ProfileValue>& values);
