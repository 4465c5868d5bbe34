// What the medium's tags tell the desktop, and a song's cover shown as its picture.

// Our headers first: GLib's TRUE and FALSE macros would break the constants.
#include "graph_session.h"
#include "platform/media/cover_art.h"
#include "platform/media/medium_tags.h"
#include "support/test_media.h"

#include <gst/gst.h>
#include <gst/tag/tag.h>
#include <gst/video/video.h>

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <string>
#include <vector>

namespace graph_test {
namespace {

using platform::gst::TagCollector;

class MediumTagsTest : public GraphTest {};

TEST_F(MediumTagsTest, ASongsTagsAndCoverAreReadAndTheCoverIsItsPicture)
{
    for (const test_media::Medium& song : {test_media::kCoverMp3, test_media::kCoverFlac}) {
        SCOPED_TRACE(song.name);
        Session session;
        ASSERT_EQ(session.Render(MediaPath(song.name)), S_OK);
        MediumTags tags;
        ASSERT_EQ(session.tags->GetTags(&tags), S_OK);
        if (song.name == test_media::kCoverMp3.name) {
            EXPECT_EQ(tags.title, test_media::kSongTitle);
            EXPECT_EQ(tags.artist, test_media::kSongArtist);
            EXPECT_EQ(tags.album, test_media::kSongAlbum);
        }
        ASSERT_TRUE(tags.cover);
        EXPECT_EQ(tags.coverType, "image/png");
        EXPECT_EQ(tags.cover->at(1), 'P');
        EXPECT_TRUE(tags.coverIsPicture);
        LONG width = 0, height = 0;
        EXPECT_EQ(session.video->GetVideoSize(&width, &height), S_OK);
        EXPECT_EQ(width, test_media::kCoverWidth);
        EXPECT_EQ(height, test_media::kCoverHeight);
    }
}

TEST_F(MediumTagsTest, ACoverThatCannotBeShownLeavesASongWithoutAPicture)
{
    for (const test_media::Medium& song :
         {test_media::kPlainMp3, test_media::kBrokenCoverMp3, test_media::kHugeCoverMp3}) {
        SCOPED_TRACE(song.name);
        Session session;
        ASSERT_EQ(session.Render(MediaPath(song.name)), S_OK);
        MediumTags tags;
        ASSERT_EQ(session.tags->GetTags(&tags), S_OK);
        EXPECT_FALSE(tags.coverIsPicture);
        LONG width = 0, height = 0;
        EXPECT_EQ(session.video->GetVideoSize(&width, &height), E_NOTIMPL);
        ASSERT_EQ(session.control->Run(), S_OK);
        EXPECT_TRUE(session.WaitForEvent(EC_COMPLETE));
    }
}

TEST_F(MediumTagsTest, TagsThatChangeWhileItPlaysAreAnnounced)
{
    Session session;
    ASSERT_EQ(session.Render(MediaPath(test_media::kChainedOgg.name)), S_OK);
    MediumTags tags;
    ASSERT_EQ(session.tags->GetTags(&tags), S_OK);
    EXPECT_EQ(tags.title, "First");
    ASSERT_EQ(session.control->Run(), S_OK);
    bool announced = false;
    while (!announced && session.WaitForEvent(EC_TAGS_CHANGED)) {
        ASSERT_EQ(session.tags->GetTags(&tags), S_OK);
        announced = tags.title == "Second";
    }
    EXPECT_TRUE(announced);
}

// Tag lists as the sinks pass them on: the medium's own, and a stream's.
GstTagList* Tags(GstTagScope scope, const char* title)
{
    GstTagList* list = gst_tag_list_new(GST_TAG_TITLE, title, nullptr);
    gst_tag_list_set_scope(list, scope);
    return list;
}

TEST(TagCollector, AStreamNamesTheMediumOnlyThroughTheSoundAndNeverOverTheMediumsOwnTags)
{
    gst_init(nullptr, nullptr);
    TagCollector collector;
    GstTagList* track = Tags(GST_TAG_SCOPE_STREAM, "Subtitle");
    EXPECT_FALSE(collector.Take(track, false)) << "a subtitle's or picture's stream names its track";
    GstTagList* song = Tags(GST_TAG_SCOPE_STREAM, "Song");
    EXPECT_TRUE(collector.Take(song, true));
    EXPECT_FALSE(collector.Take(song, true)) << "nothing changed";
    EXPECT_EQ(collector.Read(false).title, "Song");
    EXPECT_EQ(collector.Read(true).title, "") << "with a picture, the sound's stream names its track";
    GstTagList* film = Tags(GST_TAG_SCOPE_GLOBAL, "Film");
    EXPECT_TRUE(collector.Take(film, false));
    EXPECT_EQ(collector.Read(false).title, "Film");
    EXPECT_EQ(collector.Read(true).title, "Film");
    for (GstTagList* list : {track, song, film})
        gst_tag_list_unref(list);
}

GstSample* Picture(const std::string& bytes, const char* type, GstTagImageType kind)
{
    GstBuffer* buffer = gst_buffer_new_memdup(bytes.data(), bytes.size());
    GstCaps* caps = gst_caps_new_empty_simple(type);
    GstStructure* info = gst_structure_new("GstTagImageInfo", "image-type", GST_TYPE_TAG_IMAGE_TYPE, kind, nullptr);
    GstSample* sample = gst_sample_new(buffer, caps, nullptr, info);
    gst_buffer_unref(buffer);
    gst_caps_unref(caps);
    return sample;
}

TEST(TagCollector, TheFrontCoverWinsAndAPictureTooLargeIsLeftOut)
{
    gst_init(nullptr, nullptr);
    TagCollector collector;
    GstSample* back = Picture("back", "image/png", GST_TAG_IMAGE_TYPE_BACK_COVER);
    GstSample* front = Picture("front", "image/jpeg", GST_TAG_IMAGE_TYPE_FRONT_COVER);
    GstSample* link = Picture("http://example.com/c.png", "text/uri-list", GST_TAG_IMAGE_TYPE_FRONT_COVER);
    GstTagList* list = gst_tag_list_new(GST_TAG_IMAGE, link, GST_TAG_IMAGE, back, GST_TAG_IMAGE, front, nullptr);
    gst_tag_list_set_scope(list, GST_TAG_SCOPE_GLOBAL);
    EXPECT_TRUE(collector.Take(list, false));
    MediumTags tags = collector.Read(false);
    ASSERT_TRUE(tags.cover);
    EXPECT_EQ(std::string(tags.cover->begin(), tags.cover->end()), "front");
    EXPECT_EQ(tags.coverType, "image/jpeg");

    GstTagList* later = gst_tag_list_new(GST_TAG_IMAGE, back, nullptr);
    gst_tag_list_set_scope(later, GST_TAG_SCOPE_GLOBAL);
    EXPECT_FALSE(collector.Take(later, false)) << "a back cover does not replace the front";

    TagCollector other;
    GstSample* huge =
        Picture(std::string(platform::gst::kLargestCoverBytes + 1, 'x'), "image/png", GST_TAG_IMAGE_TYPE_FRONT_COVER);
    GstTagList* hugeList = gst_tag_list_new(GST_TAG_IMAGE, huge, nullptr);
    gst_tag_list_set_scope(hugeList, GST_TAG_SCOPE_GLOBAL);
    EXPECT_FALSE(other.Take(hugeList, false));
    EXPECT_FALSE(other.Read(false).cover);
    for (GstSample* sample : {back, front, link, huge})
        gst_sample_unref(sample);
    for (GstTagList* tagList : {list, later, hugeList})
        gst_tag_list_unref(tagList);
}

std::vector<std::uint8_t> Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

TEST(DecodeCover, APictureBecomesOneFrameOfItsSizeAnOversizedOneIsScaledAndNoiseIsNone)
{
    gst_init(nullptr, nullptr);
    QImage orange(3, 2, QImage::Format_RGB32);
    orange.fill(QColor(0xff, 0x80, 0x00));
    const platform::gst::SamplePtr frame = platform::gst::DecodeCover(Encoded(orange, "PNG"));
    ASSERT_TRUE(frame);
    GstVideoInfo info;
    ASSERT_TRUE(gst_video_info_from_caps(&info, gst_sample_get_caps(frame.get())));
    EXPECT_EQ(GST_VIDEO_INFO_WIDTH(&info), 3);
    EXPECT_EQ(GST_VIDEO_INFO_HEIGHT(&info), 2);
    ASSERT_EQ(GST_VIDEO_INFO_FORMAT(&info), GST_VIDEO_FORMAT_BGRx);
    guint8 last[4] = {};
    gst_buffer_extract(gst_sample_get_buffer(frame.get()), gsize(GST_VIDEO_INFO_PLANE_STRIDE(&info, 0) + 8), last, 4);
    EXPECT_EQ(last[0], 0x00);  // blue, green, red: the bottom right pixel
    EXPECT_EQ(last[1], 0x80);
    EXPECT_EQ(last[2], 0xff);

    QImage wide(platform::gst::kLargestCoverSide * 2, 40, QImage::Format_RGB32);
    wide.fill(Qt::gray);
    const platform::gst::SamplePtr scaled = platform::gst::DecodeCover(Encoded(wide, "JPEG"));
    ASSERT_TRUE(scaled);
    ASSERT_TRUE(gst_video_info_from_caps(&info, gst_sample_get_caps(scaled.get())));
    EXPECT_EQ(GST_VIDEO_INFO_WIDTH(&info), platform::gst::kLargestCoverSide);
    EXPECT_EQ(GST_VIDEO_INFO_HEIGHT(&info), 20);

    std::vector<std::uint8_t> noise = Encoded(orange, "PNG");
    std::fill(noise.begin() + 16, noise.end(), 0x5A);
    EXPECT_FALSE(platform::gst::DecodeCover(noise));
    EXPECT_FALSE(platform::gst::DecodeCover({}));
}

}  // namespace
}  // namespace graph_test
