#include "platform/system/profile_text.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        c = Lower(c);
    return folded;
}

// Calls onSection(name) for each [header], with none for a header without its ']', and
// onEntry(name, value) for each name=value line. A ';' starts a comment, in a value too.
// Lines of any other shape are damage and pass unseen. A UTF-8 byte order mark, which some
// editors put first, is no part of the first line.
template <class OnSection, class OnEntry>
void ScanProfileText(std::string_view text, OnSection onSection, OnEntry onEntry)
{
    std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            onSection(close == std::string_view::npos ? std::nullopt : std::optional(Trim(line.substr(1, close - 1))));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = Trim(line.substr(0, equals));
        std::string_view value = line.substr(equals + 1);
        value = Trim(value.substr(0, value.find(';')));
        if (!name.empty())
            onEntry(name, value);
    }
}

// The file's sections and numbers in their first order, each name once.
class ProfileLayout {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The section of that name, made at the end when missing. Values before any header
    // belong to the nameless section, which always comes first.
    std::size_t SectionNamed(std::string_view name)
    {
        const auto [found, made] = m_sectionIndex.try_emplace(Folded(name), m_sections.size());
        if (made)
            m_sections.push_back({std::string(name), {}, {}});
        return found->second;
    }
    void Rename(std::size_t section, std::string_view name) { m_sections[section].name = name; }
    void Set(std::size_t section, std::string_view name, std::optional<int> value)
    {
        Section& s = m_sections[section];
        const auto [found, made] = s.index.try_emplace(Folded(name), s.entries.size());
        if (made)
            s.entries.push_back({std::string(name), value});
        else
            s.entries[found->second] = {std::string(name), value};
    }
    std::string Text() const
    {
        std::string text;
        for (const Section& s : m_sections) {
            bool opened = false;
            for (const Entry& e : s.entries) {
                if (!e.value)
                    continue;
                if (!opened) {
                    if (!text.empty())
                        text += '\n';
                    if (!s.name.empty())
                        text += '[' + s.name + "]\n";
                    opened = true;
                }
                text += e.name;
                text += '=';
                text += std::to_string(*e.value);
                text += '\n';
            }
        }
        return text;
    }

private:
    struct Entry {
        std::string name;
        std::optional<int> value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> index;
    };
    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_sectionIndex;
};

}  // namespace

std::optional<int> ParseProfileNumber(std::string_view text)
{
    text = Trim(text);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    std::int32_t value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

bool IsProfileName(std::string_view name)
{
    if (name.empty() || Trim(name).size() != name.size())
        return false;
    for (const char c : name) {
        if (c < ' ' || c > '~' || std::string_view("=[];#").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

bool SameProfileName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::optional<int> FindProfileValue(std::string_view fileText, std::string_view section, std::string_view entry)
{
    std::optional<int> found;
    bool inSection = section.empty();
    ScanProfileText(
        fileText, [&](std::optional<std::string_view> name) { inSection = name && SameProfileName(*name, section); },
        [&](std::string_view name, std::string_view value) {
            if (inSection && SameProfileName(name, entry))
                found = ParseProfileNumber(value);
        });
    return found;
}

std::string MergeProfileText(std::string_view fileText, const std::vector<ProfileValue>& values)
{
    ProfileLayout layout;
    std::size_t section = layout.SectionNamed("");
    ScanProfileText(
        fileText,
        [&](std::optional<std::string_view> name) {
            section = name && IsProfileName(*name) ? layout.SectionNamed(*name) : ProfileLayout::kNone;
        },
        [&](std::string_view name, std::string_view value) {
            if (section != ProfileLayout::kNone && IsProfileName(name))
                layout.Set(section, name, ParseProfileNumber(value));
        });
    for (const ProfileValue& v : values) {
        const std::size_t target = layout.SectionNamed(v.section);
        layout.Rename(target, v.section);
        layout.Set(target, v.entry, v.value);
    }
    return layout.Text();
}
