#include "platform/media/early_render.h"

#include "platform/media/media_log.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace platform::gst {

namespace {

class EarlyRender {
public:
    EarlyRender() = default;
    // Exit without an open: the pipeline's threads end before the libraries' clean-up.
    ~EarlyRender() { Take({}); }
    EarlyRender(const EarlyRender&) = delete;
    EarlyRender& operator=(const EarlyRender&) = delete;

    void Begin(const std::string& file, const std::string& uri)
    {
        Take({});
        m_file = file;
        m_pipeline = std::make_unique<MediaPipeline>();
        m_thread = std::thread([pipeline = m_pipeline.get(), uri] { pipeline->Start(uri); });
    }

    // The pipeline begun for `file`, as the program names it; another name closes it.
    std::unique_ptr<MediaPipeline> Take(const std::string& file)
    {
        if (m_thread.joinable())
            m_thread.join();
        std::unique_ptr<MediaPipeline> pipeline = std::move(m_pipeline);
        if (pipeline && m_file == file)
            return pipeline;
        if (pipeline)
            GST_CAT_INFO(vantrel_media_debug, "the open begun at start (%s) is not the one asked for (%s): closed",
                         m_file.c_str(), file.empty() ? "none" : file.c_str());
        return nullptr;
    }

private:
    std::string m_file;
    std::unique_ptr<MediaPipeline> m_pipeline;
    std::thread m_thread;
};

EarlyRender& TheEarlyRender()
{
    static EarlyRender early;
    return early;
}

// Loading a plugin holds the dynamic loader's lock, which the window system's own
// start needs too: the decoders wait until the window is up.
class DecoderPreload {
public:
    DecoderPreload()
        : m_thread([this] {
              {
                  std::unique_lock lock(m_mutex);
                  if (m_stopped.wait_for(lock, std::chrono::seconds(1), [this] { return m_stop; }))
                      return;
              }
              if (GstPlugin* plugin = gst_plugin_load_by_name("libav"))
                  gst_object_unref(plugin);
          })
    {}
    // Joined when static objects are destroyed, so exit never runs the libraries'
    // clean-up under a thread that is still inside a plugin's init.
    ~DecoderPreload()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_stopped.notify_all();
        m_thread.join();
    }
    DecoderPreload(const DecoderPreload&) = delete;
    DecoderPreload& operator=(const DecoderPreload&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace

void BeginEarlyRender(const std::string& file, const std::string& uri)
{
    TheEarlyRender().Begin(file, uri);
}

std::unique_ptr<MediaPipeline> TakeEarlyRender(const std::string& file)
{
    return TheEarlyRender().Take(file);
}

void PreloadDecodersSoon()
{
    static DecoderPreload preload;
}

}  // namespace platform::gst
