#include "platform/media/live_pipelines.h"

#include <atomic>

namespace platform::gst {

namespace {

std::atomic<int> g_live{0};

void Finalised(gpointer /*data*/, GObject* /*pipeline*/)
{
    --g_live;
}

}  // namespace

void CountWhileAlive(GstElement* pipeline)
{
    ++g_live;
    g_object_weak_ref(G_OBJECT(pipeline), &Finalised, nullptr);
}

int LivePipelines()
{
    return g_live.load();
}

}  // namespace platform::gst
