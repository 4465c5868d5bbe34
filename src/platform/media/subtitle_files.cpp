#include "platform/media/subtitle_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <gst/gst.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <tuple>

#include "platform/media/gst_handles.h"

namespace platform::gst {

namespace {

constexpr std::array<std::string_view, 5> kExtensions = {"srt", "ass", "ssa", "vtt", "sub"};

std::optional<std::size_t> ExtensionRank(std::string_view extension)
{
    for (std::size_t rank = 0; rank < kExtensions.size(); ++rank) {
        const std::string_view known = kExtensions[rank];
        if (known.size() == extension.size() &&
            std::equal(known.begin(), known.end(), extension.begin(),
                       [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
            return rank;
    }
    return std::nullopt;
}

// The name without its last extension; a name without one stays whole.
std::string_view Stem(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

// Exact names first, then by language, then by extension.
using Rank = std::tuple<bool, std::string, std::size_t>;

std::optional<Rank> RankOf(std::string_view stem, std::string_view candidate)
{
    if (candidate.size() <= stem.size() + 1 || candidate.substr(0, stem.size()) != stem ||
        candidate[stem.size()] != '.')
        return std::nullopt;
    const std::string_view rest = candidate.substr(stem.size() + 1);
    const std::size_t dot = rest.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? rest : rest.substr(dot + 1);
    const std::optional<std::size_t> rank = ExtensionRank(extension);
    if (!rank)
        return std::nullopt;
    if (dot == std::string_view::npos)
        return Rank{false, std::string(), *rank};
    const std::string_view language = rest.substr(0, dot);
    if (language.empty() || language.find('.') != std::string_view::npos)
        return std::nullopt;
    return Rank{true, std::string(language), *rank};
}

std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* directory = opendir(folder.c_str());
    if (!directory)
        return names;
    while (const dirent* entry = readdir(directory))
        names.emplace_back(entry->d_name);
    closedir(directory);
    return names;
}

}  // namespace

std::optional<std::string> PickSubtitleFile(const std::string& mediumName, const std::vector<std::string>& siblings)
{
    const std::string_view stem = Stem(mediumName);
    std::optional<std::string> best;
    std::optional<Rank> bestRank;
    for (const std::string& candidate : siblings) {
        if (candidate == mediumName)
            continue;
        const std::optional<Rank> rank = RankOf(stem, candidate);
        if (rank && (!bestRank || *rank < *bestRank)) {
            best = candidate;
            bestRank = rank;
        }
    }
    return best;
}

std::optional<std::string> SubtitleUriFor(const std::string& mediumUri)
{
    const CharPtr scheme(g_uri_parse_scheme(mediumUri.c_str()));
    if (!scheme || g_ascii_strcasecmp(scheme.get(), "file") != 0)
        return std::nullopt;
    // A file URI that names a host is not a file here.
    gchar* rawHost = nullptr;
    const CharPtr path(g_filename_from_uri(mediumUri.c_str(), &rawHost, nullptr));
    const CharPtr host(rawHost);
    if (!path || (host && *host.get() && g_ascii_strcasecmp(host.get(), "localhost") != 0))
        return std::nullopt;
    const CharPtr folder(g_path_get_dirname(path.get()));
    const CharPtr name(g_path_get_basename(path.get()));
    const std::optional<std::string> picked = PickSubtitleFile(name.get(), NamesIn(folder.get()));
    if (!picked)
        return std::nullopt;
    const CharPtr subtitlePath(g_build_filename(folder.get(), picked->c_str(), nullptr));
    // Only a regular file: a pipe's opening would wait for a writer.
    struct stat status {};
    if (stat(subtitlePath.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    const CharPtr uri(gst_filename_to_uri(subtitlePath.get(), nullptr));
    if (!uri)
        return std::nullopt;
    return std::string(uri.get());
}

}  // namespace platform::gst
