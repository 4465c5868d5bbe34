#include "platform/media/medium_tags.h"

#include <gst/tag/tag.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/media/gst_handles.h"

namespace platform::gst {

namespace {

bool TakeText(const GstTagList* list, const char* tag, std::string& field)
{
    gchar* raw = nullptr;
    if (!gst_tag_list_get_string(list, tag, &raw))
        return false;
    const CharPtr text(raw);
    if (!text || !*text || field == text.get())
        return false;
    field = text.get();
    return true;
}

struct CoverCandidate {
    GstSample* sample = nullptr;
    int rank = 0;
};

// A front cover before any other picture, and any picture before a preview.
int RankOf(GstSample* sample, bool preview)
{
    if (preview)
        return 2;
    const GstStructure* info = gst_sample_get_info(sample);
    gint type = GST_TAG_IMAGE_TYPE_NONE;
    if (info && gst_structure_get_enum(info, "image-type", GST_TYPE_TAG_IMAGE_TYPE, &type) &&
        type == GST_TAG_IMAGE_TYPE_FRONT_COVER)
        return 0;
    return 1;
}

bool IsUsablePicture(GstSample* sample)
{
    GstCaps* caps = gst_sample_get_caps(sample);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (!caps || gst_caps_is_empty(caps) || !buffer)
        return false;
    const gsize size = gst_buffer_get_size(buffer);
    return g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "image/") && size > 0 &&
           size <= kLargestCoverBytes;
}

// The best picture of the list; the caller holds the list, which keeps it alive.
std::optional<CoverCandidate> BestPicture(const GstTagList* list)
{
    std::optional<CoverCandidate> best;
    for (const auto& [tag, preview] : {
             std::pair{GST_TAG_IMAGE,         false},
             std::pair{GST_TAG_PREVIEW_IMAGE, true }
    }) {
        const guint count = gst_tag_list_get_tag_size(list, tag);
        for (guint i = 0; i < count; ++i) {
            const GValue* value = gst_tag_list_get_value_index(list, tag, i);
            GstSample* sample = value && GST_VALUE_HOLDS_SAMPLE(value) ? gst_value_get_sample(value) : nullptr;
            if (!sample || !IsUsablePicture(sample))
                continue;
            const int rank = RankOf(sample, preview);
            if (!best || rank < best->rank)
                best = CoverCandidate{sample, rank};
        }
    }
    return best;
}

std::vector<std::uint8_t> BytesOf(GstSample* sample)
{
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    std::vector<std::uint8_t> bytes(gst_buffer_get_size(buffer));
    gst_buffer_extract(buffer, 0, bytes.data(), bytes.size());
    return bytes;
}

}  // namespace

bool TagCollector::Merge(Fields& fields, const GstTagList* list)
{
    bool changed = TakeText(list, GST_TAG_TITLE, fields.title);
    changed = TakeText(list, GST_TAG_ARTIST, fields.artist) || changed;
    changed = TakeText(list, GST_TAG_ALBUM, fields.album) || changed;
    const std::optional<CoverCandidate> picture = BestPicture(list);
    if (!picture || (fields.cover && picture->rank > fields.coverRank))
        return changed;
    std::vector<std::uint8_t> bytes = BytesOf(picture->sample);
    if (fields.cover && *fields.cover == bytes)
        return changed;
    fields.cover = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    fields.coverType = gst_structure_get_name(gst_caps_get_structure(gst_sample_get_caps(picture->sample), 0));
    fields.coverRank = picture->rank;
    return true;
}

bool TagCollector::Take(const GstTagList* list, bool fromSound)
{
    if (!list)
        return false;
    const bool medium = gst_tag_list_get_scope(list) == GST_TAG_SCOPE_GLOBAL;
    if (!medium && !fromSound)
        return false;
    std::lock_guard lock(m_mutex);
    return Merge(medium ? m_medium : m_sound, list);
}

MediumTags TagCollector::Read(bool hasPicture) const
{
    std::lock_guard lock(m_mutex);
    const auto pick = [&](const std::string Fields::*field) {
        if (!(m_medium.*field).empty() || hasPicture)
            return m_medium.*field;
        return m_sound.*field;
    };
    MediumTags tags;
    tags.title = pick(&Fields::title);
    tags.artist = pick(&Fields::artist);
    tags.album = pick(&Fields::album);
    const Fields& withCover = m_medium.cover ? m_medium : m_sound;
    tags.cover = withCover.cover;
    tags.coverType = withCover.coverType;
    return tags;
}

}  // namespace platform::gst
