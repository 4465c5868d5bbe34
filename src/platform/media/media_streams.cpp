#include "platform/media/media_streams.h"

namespace platform::gst {

bool PlaysFirst(const StreamFacts& candidate, const StreamFacts* chosen)
{
    if (candidate.external)
        return !chosen || !chosen->external;
    return !chosen && candidate.flaggedDefault;
}

std::string StreamName(const StreamFacts& stream)
{
    if (stream.title.empty())
        return stream.language;
    if (stream.language.empty())
        return stream.title;
    return stream.title + " (" + stream.language + ")";
}

}  // namespace platform::gst
