// vantrel_make_ass_medium <out> <seconds> <blocks>
// Writes a Matroska file: <seconds> of a solid blue H.264 picture, 320x240 at 30 pictures a
// second, and an ASS track with an event every second, a row of <blocks> full blocks (U+2588)
// coloured red by an override tag. Only a renderer that applies ASS styling draws them red; one
// that shows the plain text draws them in its own white.
//
// gst-launch cannot make this: subparse and ssaparse turn ASS into plain text, so the events are
// pushed here in Matroska's own block layout, which matroskademux hands on unchanged.

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The style draws white, so that red can only come from the override tag; no outline or shadow,
// so that a block's inside is the one colour.
constexpr char kHeader[] =
    "[Script Info]\n"
    "ScriptType: v4.00+\n"
    "PlayResX: 320\n"
    "PlayResY: 240\n"
    "WrapStyle: 0\n"
    "\n"
    "[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
    "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, "
    "Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,DejaVu Sans,20,&H00FFFFFF,&H00FFFFFF,&H00000000,&H00000000,0,0,0,0,100,100,"
    "0,0,1,0,0,2,10,10,10,1\n"
    "\n"
    "[Events]\n"
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";

// ASS colours are &HBBGGRR.
constexpr char kRed[] = "{\\c&H0000FF&}";
constexpr char kFullBlock[] = "\xE2\x96\x88";

GstBuffer* BufferOf(const std::string& bytes)
{
    return gst_buffer_new_memdup(bytes.data(), bytes.size());
}

bool Push(GstAppSrc* src, const std::string& bytes, GstClockTime start, GstClockTime duration)
{
    GstBuffer* buffer = BufferOf(bytes);
    GST_BUFFER_PTS(buffer) = start;
    GST_BUFFER_DURATION(buffer) = duration;
    return gst_app_src_push_buffer(src, buffer) == GST_FLOW_OK;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "vantrel_make_ass_medium: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    gst_init(&argc, &argv);
    if (argc != 4)
        return Fail("usage: vantrel_make_ass_medium <out> <seconds> <blocks>");
    const int seconds = std::atoi(argv[2]);
    const int blocks = std::atoi(argv[3]);
    if (seconds <= 0 || blocks <= 0)
        return Fail("seconds and blocks must be positive");

    const std::string description = "videotestsrc pattern=blue num-buffers=" + std::to_string(seconds * 30) +
                                    " ! video/x-raw,format=I420,width=320,height=240,framerate=30/1"
                                    " ! x264enc speed-preset=ultrafast key-int-max=15 ! h264parse ! queue"
                                    " ! matroskamux name=mux ! filesink name=out"
                                    " appsrc name=subs format=time ! queue ! mux.subtitle_0";
    GError* error = nullptr;
    // A missing plugin must fail the build, not leave a file without its track.
    GstElement* pipeline = gst_parse_launch_full(description.c_str(), nullptr, GST_PARSE_FLAG_FATAL_ERRORS, &error);
    if (!pipeline)
        return Fail(error ? error->message : "no pipeline");

    GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    g_object_set(out, "location", argv[1], nullptr);
    gst_object_unref(out);

    GstElement* subs = gst_bin_get_by_name(GST_BIN(pipeline), "subs");
    GstBuffer* header = BufferOf(kHeader);
    GstCaps* caps = gst_caps_new_simple("application/x-ass", "codec_data", GST_TYPE_BUFFER, header, nullptr);
    gst_buffer_unref(header);
    gst_app_src_set_caps(GST_APP_SRC(subs), caps);
    gst_caps_unref(caps);

    const bool started = gst_element_set_state(pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;

    // One event a second rather than one long one: after a seek or a track switch the current
    // event is not shown again, the next one is, at most a second later.
    std::string row = kRed;
    for (int i = 0; i < blocks; ++i)
        row += kFullBlock;
    bool pushed = started;
    for (int second = 0; second < seconds && pushed; ++second) {
        // ReadOrder, Layer, Style, Name, MarginL, MarginR, MarginV, Effect, Text
        pushed = Push(GST_APP_SRC(subs), std::to_string(second) + ",0,Default,,0,0,0,," + row, second * GST_SECOND,
                      GST_SECOND);
    }
    gst_app_src_end_of_stream(GST_APP_SRC(subs));
    gst_object_unref(subs);

    GstBus* bus = gst_element_get_bus(pipeline);
    // A failed start has put its reason on the bus already.
    GstMessage* message = gst_bus_timed_pop_filtered(bus, started ? GST_CLOCK_TIME_NONE : 0,
                                                     static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    int status = 0;
    if (!message) {
        status = Fail("cannot start the pipeline");
    } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        GError* failure = nullptr;
        gst_message_parse_error(message, &failure, nullptr);
        status = Fail(failure->message);
        g_error_free(failure);
    } else if (!pushed) {
        status = Fail("the subtitle track refused an event");
    }
    if (message)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return status;
}
