#include "platform/system/file_patterns.h"

#include <algorithm>
#include <cctype>

std::vector<std::pair<std::string, std::string>> ParseFilterString(std::string_view filter)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    auto next = [&filter]() -> std::string_view {
        const std::size_t end = std::min(filter.find('\0'), filter.size());
        const std::string_view part = filter.substr(0, end);
        filter.remove_prefix(std::min(end + 1, filter.size()));
        return part;
    };
    while (!filter.empty()) {
        const std::string_view description = next();
        if (description.empty() || filter.empty())
            break;
        pairs.emplace_back(description, next());
    }
    return pairs;
}

namespace platform {

std::vector<std::string> SplitPatternList(std::string_view patterns)
{
    std::vector<std::string> list;
    std::size_t pos = 0;
    while (pos < patterns.size()) {
        const std::size_t end = std::min(patterns.find_first_of("; ", pos), patterns.size());
        if (end > pos)
            list.emplace_back(patterns.substr(pos, end - pos));
        pos = end + 1;
    }
    return list;
}

// The chooser matches the last parenthesised list of a filter, blank-separated
// and whatever the case, and, asked to hide filter details, shows only what comes
// before it: the description.
std::string ChooserNameFilter(std::string_view description, std::string_view patterns)
{
    std::string filter(description);
    filter += " (";
    bool first = true;
    for (const std::string& pattern : SplitPatternList(patterns)) {
        if (!first)
            filter += ' ';
        filter += pattern == "*.*" ? "*" : pattern;  // every file, with or without a dot
        first = false;
    }
    filter += ')';
    return filter;
}

bool HasExtension(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.size() > 1 && name.find('.', 1) != std::string_view::npos;
}

std::string CompleteDefaultExtension(const std::string& path, std::string_view defaultExtension,
                                     const std::function<bool(const std::string&)>& exists)
{
    if (defaultExtension.empty() || path.empty() || path.back() == '/' || HasExtension(path))
        return path;
    auto recased = [&](bool upper) {
        std::string ext(defaultExtension);
        for (char& c : ext) {
            const auto u = static_cast<unsigned char>(c);
            c = static_cast<char>(upper ? std::toupper(u) : std::tolower(u));
        }
        return path + '.' + ext;
    };
    for (const std::string& candidate : {path + '.' + std::string(defaultExtension), recased(false), recased(true)}) {
        if (exists(candidate))
            return candidate;
    }
    return path;
}

}  // namespace platform
