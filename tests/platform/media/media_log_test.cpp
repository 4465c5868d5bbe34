// Why a medium failed, told in the player's own debug category when asked for, and only then.

#include "graph_session.h"
#include "support/test_media.h"

#include <gst/gst.h>

#include <string>
#include <vector>

namespace graph_test {
namespace {

void Keep(GstDebugCategory* category, GstDebugLevel, const gchar*, const gchar*, gint, GObject*,
          GstDebugMessage* message, gpointer lines)
{
    if (std::string(gst_debug_category_get_name(category)).rfind("vantrel", 0) == 0)
        static_cast<std::vector<std::string>*>(lines)->emplace_back(gst_debug_message_get(message));
}

class MediaLogTest : public GraphTest {};

TEST_F(MediaLogTest, AFailedOpenSaysWhyInThePlayersCategoryAndOnlyWhenAskedFor)
{
    std::vector<std::string> lines;
    gst_debug_add_log_function(&Keep, &lines, nullptr);
    const auto failedOpen = [] {
        Session session;
        EXPECT_TRUE(FAILED(session.Render(MediaPath(test_media::kTruncatedMov.name))));
    };
    failedOpen();
    EXPECT_TRUE(lines.empty()) << "silent by default: " << lines.front();

    gst_debug_set_active(TRUE);
    gst_debug_set_threshold_for_name("vantrel*", GST_LEVEL_INFO);
    failedOpen();
    gst_debug_unset_threshold_for_name("vantrel*");
    gst_debug_remove_log_function(&Keep);
    std::string told;
    for (const std::string& line : lines)
        told += line + "\n";
    EXPECT_NE(told.find("truncated.mov"), std::string::npos) << told;
    EXPECT_NE(told.find("qtdemux"), std::string::npos) << "the element that failed: " << told;
    EXPECT_NE(told.find("no playable streams"), std::string::npos) << "its message: " << told;
}

}  // namespace
}  // namespace graph_test
