#pragma once
// The file chooser's rules that need no display: the classic filter string, its
// patterns in the toolkit's form, and the default extension.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// "Description\0patterns\0Description\0patterns\0\0" as (description, patterns)
// pairs. The list ends at an empty description or at the end of the text; a
// description without its patterns is dropped.
std::vector<std::pair<std::string, std::string>> ParseFilterString(std::string_view filter);

namespace platform {

// "*.mpg; *.mpeg" -> {"*.mpg", "*.mpeg"}: split at semicolons and blanks.
std::vector<std::string> SplitPatternList(std::string_view patterns);

// The name filter the toolkit's chooser shows as `description` and matches with
// `patterns` ("*.*" standing for every file, with or without a dot).
std::string ChooserNameFilter(std::string_view description, std::string_view patterns);

// Whether the file name (after the last '/') has an extension: a dot after its
// first character.
bool HasExtension(std::string_view path);

// The file a name typed without an extension stands for: the name with the
// default extension as given, then in lower case, then in upper case, whichever
// exists first. A name with an extension, or one none of whose completions
// exists, is returned as typed.
std::string CompleteDefaultExtension(const std::string& path, std::string_view defaultExtension,
                                     const std::function<bool(const std::string&)>& exists);

}  // namespace platform
