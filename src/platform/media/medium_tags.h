#pragma once
// The tags a medium carries that the desktop shows of it: title, artist, album
// and the cover picture. Streaming threads hand in the tag lists that reach the
// sinks; the UI thread reads the result. Any thread.

// Our headers first: GLib's TRUE and FALSE macros would break the constants of
// the same names.
#include "platform/com/dshow.h"

#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform::gst {

// A cover larger than this is left out: no real cover comes near it.
inline constexpr std::size_t kLargestCoverBytes = 16u << 20;

class TagCollector {
public:
    // `fromSound`: the list reached the sound's sink. A stream's own tags count
    // only from there (a picture's or a subtitle's name the track, not the medium).
    // True when anything the result is made of changed.
    bool Take(const GstTagList* list, bool fromSound);

    // `hasPicture`: the medium has a picture of its own, so the sound's stream
    // names its track rather than the medium.
    MediumTags Read(bool hasPicture) const;

private:
    struct Fields {
        std::string title;
        std::string artist;
        std::string album;
        std::shared_ptr<const std::vector<std::uint8_t>> cover;
        std::string coverType;
        int coverRank = 0;  // lower is better; meaningful while there is a cover
    };
    static bool Merge(Fields& fields, const GstTagList* list);

    mutable std::mutex m_mutex;
    Fields m_medium;  // the medium's own (global) tags
    Fields m_sound;   // the tags of the stream the sound comes from
};

}  // namespace platform::gst
