#include "platform/media/media_log.h"

GST_DEBUG_CATEGORY(vantrel_media_debug);

namespace platform::gst {

void InitMediaLog()
{
    if (!vantrel_media_debug)
        GST_DEBUG_CATEGORY_INIT(vantrel_media_debug, "vantrel-media", 0, "why Vantrel's media open or fail");
}

}  // namespace platform::gst
