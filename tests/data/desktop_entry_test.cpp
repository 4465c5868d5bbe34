// The launcher entry offers only media that the installed GStreamer plays: for
// every listed type a typefinder recognises it and an element takes it in.

#include <gtest/gtest.h>

#include <gst/gst.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> ReadDesktopEntry(const std::string& path)
{
    std::ifstream in(path);
    std::map<std::string, std::string> keys;
    std::string line;
    bool inEntry = false;
    while (std::getline(in, line)) {
        if (line.starts_with('['))
            inEntry = line == "[Desktop Entry]";
        else if (const auto eq = line.find('='); inEntry && eq != std::string::npos)
            keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

std::vector<std::string> SplitList(const std::string& list)
{
    std::vector<std::string> items;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ';');) {
        if (!item.empty())
            items.push_back(item);
    }
    return items;
}

// The caps GStreamer gives each media type of the entry. The Matroska typefinder
// announces one type for all of its kinds (WebM and audio-only included).
const std::map<std::string, std::string> kCapsOfType = {
    {"video/mpeg",         "video/mpeg, systemstream=(boolean)true"  },
    {"video/x-msvideo",    "video/x-msvideo"                         },
    {"video/quicktime",    "video/quicktime"                         },
    {"video/mp4",          "video/quicktime"                         },
    {"video/3gpp",         "application/x-3gp"                       },
    {"video/x-matroska",   "video/x-matroska"                        },
    {"video/webm",         "video/x-matroska"                        },
    {"video/ogg",          "application/ogg"                         },
    {"video/x-flv",        "video/x-flv"                             },
    {"video/mp2t",         "video/mpegts, systemstream=(boolean)true"},
    {"video/x-ms-wmv",     "video/x-ms-asf"                          },
    {"video/x-ms-asf",     "video/x-ms-asf"                          },
    {"video/dv",           "video/x-dv, systemstream=(boolean)true"  },
    {"audio/mpeg",         "audio/mpeg, mpegversion=(int)1"          },
    {"audio/ogg",          "application/ogg"                         },
    {"audio/x-vorbis+ogg", "application/ogg"                         },
    {"audio/x-opus+ogg",   "application/ogg"                         },
    {"audio/flac",         "audio/x-flac"                            },
    {"audio/x-wav",        "audio/x-wav"                             },
    {"audio/mp4",          "audio/x-m4a"                             },
    {"audio/x-m4a",        "audio/x-m4a"                             },
    {"audio/aac",          "audio/mpeg, mpegversion=(int)4"          },
    {"audio/x-matroska",   "video/x-matroska"                        },
    {"audio/webm",         "video/x-matroska"                        },
    {"audio/x-aiff",       "audio/x-aiff"                            },
    {"audio/ac3",          "audio/x-ac3"                             },
    {"audio/x-ms-wma",     "video/x-ms-asf"                          },
    {"audio/x-wavpack",    "audio/x-wavpack"                         },
    {"audio/basic",        "audio/x-au"                              },
};

struct CapsHandle {
    GstCaps* caps;
    explicit CapsHandle(const std::string& text) : caps(gst_caps_from_string(text.c_str())) {}
    ~CapsHandle()
    {
        if (caps)
            gst_caps_unref(caps);
    }
    CapsHandle(const CapsHandle&) = delete;
    CapsHandle& operator=(const CapsHandle&) = delete;
};

bool SomeTypefinderFinds(const GstCaps* caps)
{
    GList* finders = gst_type_find_factory_get_list();
    bool found = false;
    for (GList* f = finders; f && !found; f = f->next) {
        GstCaps* detected = gst_type_find_factory_get_caps(GST_TYPE_FIND_FACTORY(f->data));
        found = detected && gst_caps_can_intersect(detected, caps);
    }
    gst_plugin_feature_list_free(finders);
    return found;
}

// A demuxer, parser or decoder with a sink pad that takes the caps.
bool SomeElementTakes(const GstCaps* caps)
{
    GList* factories = gst_element_factory_list_get_elements(
        GST_ELEMENT_FACTORY_TYPE_DEMUXER | GST_ELEMENT_FACTORY_TYPE_PARSER | GST_ELEMENT_FACTORY_TYPE_DECODER,
        GST_RANK_MARGINAL);
    bool found = false;
    for (GList* f = factories; f && !found; f = f->next) {
        for (const GList* t = gst_element_factory_get_static_pad_templates(GST_ELEMENT_FACTORY(f->data)); t && !found;
             t = t->next) {
            auto* templ = static_cast<GstStaticPadTemplate*>(t->data);
            if (templ->direction != GST_PAD_SINK)
                continue;
            GstCaps* sink = gst_static_pad_template_get_caps(templ);
            found = gst_caps_can_intersect(sink, caps);
            gst_caps_unref(sink);
        }
    }
    gst_plugin_feature_list_free(factories);
    return found;
}

TEST(DesktopEntry, LaunchesThePlayerWithWhatTheDesktopHandsOver)
{
    const auto keys = ReadDesktopEntry(VANTREL_DESKTOP_FILE);
    EXPECT_EQ(keys.at("Exec"), "vantrel %U") << "URLs too, not only local files";
    EXPECT_EQ(keys.at("Icon"), "vantrel");
    EXPECT_EQ(keys.at("Categories"), "AudioVideo;Video;Player;");
}

TEST(DesktopEntry, EveryMediaTypeIsOneThatGStreamerPlays)
{
    gst_init(nullptr, nullptr);
    const auto types = SplitList(ReadDesktopEntry(VANTREL_DESKTOP_FILE).at("MimeType"));
    ASSERT_FALSE(types.empty());
    for (const std::string& type : types) {
        SCOPED_TRACE(type);
        const auto caps = kCapsOfType.find(type);
        ASSERT_NE(caps, kCapsOfType.end()) << "give the type its GStreamer caps here";
        const CapsHandle handle(caps->second);
        ASSERT_NE(handle.caps, nullptr);
        EXPECT_TRUE(SomeTypefinderFinds(handle.caps));
        EXPECT_TRUE(SomeElementTakes(handle.caps));
    }
}

}  // namespace
