// Video decoders decode pictures up to HD on one thread and larger ones on as
// many as libav chooses, decided from the size each stream announces.

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/media/decoder_threads.h"
#include "platform/media/gst_handles.h"

namespace {

using platform::gst::DecoderThreadsFor;

TEST(DecoderThreads, OneThreadUpToHdAndLibavsChoiceAbove)
{
    EXPECT_EQ(DecoderThreadsFor(320, 240), 1);
    EXPECT_EQ(DecoderThreadsFor(1280, 720), 1);
    EXPECT_EQ(DecoderThreadsFor(720, 1280), 1) << "portrait";
    EXPECT_EQ(DecoderThreadsFor(1281, 720), 0);
    EXPECT_EQ(DecoderThreadsFor(1920, 1080), 0);
    EXPECT_EQ(DecoderThreadsFor(0, 720), 0) << "no size known";
    EXPECT_EQ(DecoderThreadsFor(100000, 100000), 0) << "no overflow";
}

// Encodes a few pictures of the size given and decodes them again, the decoder
// fitted as the pipeline adds it; its max-threads afterwards.
int ThreadsAfterDecoding(int width, int height)
{
    const std::string description = "videotestsrc num-buffers=3 ! video/x-raw,width=" + std::to_string(width) +
                                    ",height=" + std::to_string(height) +
                                    " ! avenc_mpeg4 ! avdec_mpeg4 name=decoder max-threads=3 ! fakesink";
    GError* rawError = nullptr;
    const platform::gst::ElementPtr pipeline =
        platform::gst::AdoptElement(gst_parse_launch(description.c_str(), &rawError));
    const platform::gst::ErrorPtr error(rawError);
    if (!pipeline || error)
        return -1;
    const platform::gst::ElementPtr decoder(gst_bin_get_by_name(GST_BIN(pipeline.get()), "decoder"));
    platform::gst::FitDecoderThreads(decoder.get());
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    const platform::gst::BusPtr bus(gst_element_get_bus(pipeline.get()));
    const platform::gst::MessagePtr end(gst_bus_timed_pop_filtered(
        bus.get(), 20 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    if (!end || GST_MESSAGE_TYPE(end.get()) != GST_MESSAGE_EOS)
        return -2;
    gint threads = -3;
    g_object_get(decoder.get(), "max-threads", &threads, nullptr);
    return threads;
}

TEST(DecoderThreads, TheDecoderTakesItsCountFromTheStreamsSize)
{
    ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
    EXPECT_EQ(ThreadsAfterDecoding(320, 240), 1);
    EXPECT_EQ(ThreadsAfterDecoding(1920, 1088), 0);
}

}  // namespace
