// Pictures made for the screen: the scaler's every plan puts each part of the
// picture where it belongs, and the pictures the window is given are the newest
// frame at the size it asked for, made on the streaming thread or the worker,
// and, with a surface, put there by that thread only at the size wanted then.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <QImage>

#include "platform/media/frame_scaler.h"
#include "platform/media/screen_pictures.h"
#include "platform/media/video_frame.h"

namespace platform::gst {
namespace {

constexpr QRgb kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// Four quadrants, red green / blue white, in the decoder's `format`.
std::shared_ptr<const DecodedFrame> Quadrants(int width, int height, GstVideoFormat format)
{
    GstVideoInfo rgb, info;
    gst_video_info_set_format(&rgb, GST_VIDEO_FORMAT_BGRx, guint(width), guint(height));
    gst_video_info_set_format(&info, format, guint(width), guint(height));
    GstBuffer* painted = gst_buffer_new_allocate(nullptr, rgb.size, nullptr);
    GstVideoFrame in;
    gst_video_frame_map(&in, &rgb, painted, GST_MAP_WRITE);
    for (int y = 0; y < height; ++y) {
        auto* row =
            static_cast<guint32*>(GST_VIDEO_FRAME_PLANE_DATA(&in, 0)) + y * GST_VIDEO_FRAME_PLANE_STRIDE(&in, 0) / 4;
        for (int x = 0; x < width; ++x)
            row[x] = y < height / 2 ? (x < width / 2 ? kRed : kGreen) : (x < width / 2 ? kBlue : kWhite);
    }
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, info.size, nullptr);
    GstVideoFrame out;
    gst_video_frame_map(&out, &info, buffer, GST_MAP_WRITE);
    GstVideoConverter* converter = gst_video_converter_new(&rgb, &info, nullptr);
    gst_video_converter_frame(converter, &in, &out);
    gst_video_converter_free(converter);
    gst_video_frame_unmap(&out);
    gst_video_frame_unmap(&in);
    gst_buffer_unref(painted);
    GstCaps* caps = gst_video_info_to_caps(&info);
    GstSample* sample = gst_sample_new(buffer, caps, nullptr, nullptr);
    gst_buffer_unref(buffer);
    gst_caps_unref(caps);
    auto frame = DecodedFrame::FromSample(sample);
    gst_sample_unref(sample);
    return frame;
}

bool Near(QRgb got, QRgb want)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > 40)
            return false;
    return true;
}

// What is wrong with `image` as the quadrants at its size, checked away from the
// middle lines, where scaling blends, and right up to every outer edge.
std::string QuadrantFaults(const QImage& image)
{
    std::string faults;
    const int w = image.width(), h = image.height();
    const struct {
        int x, y;
        QRgb want;
    } probes[] = {
        {0,         0,         kRed  },
        {w / 4,     h / 4,     kRed  },
        {w - 1,     0,         kGreen},
        {3 * w / 4, h / 4,     kGreen},
        {0,         h - 1,     kBlue },
        {w / 4,     3 * h / 4, kBlue },
        {w - 1,     h - 1,     kWhite},
        {3 * w / 4, 3 * h / 4, kWhite},
    };
    for (const auto& probe : probes) {
        const QRgb got = image.pixel(probe.x, probe.y);
        if (!Near(got & 0xFFFFFF, probe.want) || qAlpha(got) != 255)
            faults += " (" + std::to_string(probe.x) + "," + std::to_string(probe.y) + ")";
    }
    return faults;
}

TEST(FrameScalerTest, EveryWayOfScalingPutsEachPartOfThePictureInItsPlaceAndWritesNothingBeyond)
{
    gst_init(nullptr, nullptr);
    struct Case {
        int width, height;
        const char* way;
    };
    const Case cases[] = {
        {1280, 720,  "its own size"             },
        {640,  360,  "halved once"              },
        {300,  160,  "halved twice, then scaled"},
        {1000, 700,  "made a little smaller"    },
        {2000, 1100, "made larger"              },
        {1500, 600,  "wider but lower"          },
        {1,    1,    "a single pixel"           },
    };
    for (GstVideoFormat format : {GST_VIDEO_FORMAT_I420, GST_VIDEO_FORMAT_NV12, GST_VIDEO_FORMAT_BGRx}) {
        const auto frame = Quadrants(1280, 720, format);
        ASSERT_NE(frame, nullptr);
        FrameScaler scaler(2);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(gst_video_format_to_string(format)) + ", " + c.way);
            // A wider row than the picture: what lies past its right edge is not the scaler's.
            QImage target(c.width + 3, c.height, QImage::Format_RGB32);
            target.fill(0xFF123456);
            ASSERT_TRUE(scaler.Draw(*frame, target.bits(), target.bytesPerLine(), c.width, c.height));
            if (c.width > 1) {
                EXPECT_EQ(QuadrantFaults(target.copy(0, 0, c.width, c.height)), "");
            }
            for (int y = 0; y < c.height; ++y)
                ASSERT_EQ(target.pixel(c.width, y), 0xFF123456u) << "row " << y;
        }
    }
}

TEST(FrameScalerTest, PicturesOfOddSizesAreHalvedWithinTheirRows)
{
    gst_init(nullptr, nullptr);
    // Sizes whose chroma planes end on an odd row or column, read to their last one.
    for (const auto& [width, height] : {
             std::pair{1282, 722},
             std::pair{1283, 723},
             std::pair{1281, 721}
    }) {
        for (GstVideoFormat format : {GST_VIDEO_FORMAT_I420, GST_VIDEO_FORMAT_NV12, GST_VIDEO_FORMAT_Y444}) {
            SCOPED_TRACE(std::string(gst_video_format_to_string(format)) + " " + std::to_string(width) + " x " +
                         std::to_string(height));
            const auto frame = Quadrants(width, height, format);
            ASSERT_NE(frame, nullptr);
            FrameScaler scaler(1);
            QImage target(300, 170, QImage::Format_RGB32);
            ASSERT_TRUE(scaler.Draw(*frame, target.bits(), target.bytesPerLine(), target.width(), target.height()));
            EXPECT_EQ(QuadrantFaults(target), "");
        }
    }
}

// A ScreenPictures made on this, the test's UI thread, with a record of its callbacks.
class ScreenPicturesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }

    // Presents from a thread of its own, as the streaming thread does.
    void PresentFromStreamingThread(std::shared_ptr<const DecodedFrame> frame)
    {
        std::thread streaming([&] { pictures.Present(std::move(frame)); });
        streaming.join();
    }
    // Waits, bounded, for the latest picture to be `frame` at `size`.
    bool Shows(const std::shared_ptr<const DecodedFrame>& frame, QSize size)
    {
        for (int waited = 0; waited < 5000; waited += 5) {
            const auto picture = pictures.Latest();
            if (picture && picture->source == frame && picture->pixels.size() == size)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    std::atomic<int> ready{0};
    std::atomic<bool> readyOnUiThread{false};
    const std::thread::id uiThread = std::this_thread::get_id();
    ScreenPictures pictures{[this] {
        ++ready;
        if (std::this_thread::get_id() == uiThread)
            readyOnUiThread = true;
    }};
};

TEST_F(ScreenPicturesTest, AStreamingThreadMakesItsFrameAtTheWindowsSizeAndAResizeRemakesItOnTheWorker)
{
    const auto frame = Quadrants(320, 180, GST_VIDEO_FORMAT_I420);
    pictures.SetTargetSize(QSize(64, 36));
    PresentFromStreamingThread(frame);
    // Made before Present returned, on the presenting thread.
    const auto made = pictures.Latest();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->source, frame);
    EXPECT_EQ(made->pixels.size(), QSize(64, 36));
    EXPECT_EQ(QuadrantFaults(made->pixels), "");
    EXPECT_EQ(ready, 1);

    // Paused, no new frame comes: the one on show is made again at the new size.
    pictures.SetTargetSize(QSize(200, 100));
    ASSERT_TRUE(Shows(frame, QSize(200, 100)));
    EXPECT_EQ(QuadrantFaults(pictures.Latest()->pixels), "");
    EXPECT_EQ(made->pixels.size(), QSize(64, 36)) << "a picture once handed out never changes";
    EXPECT_FALSE(readyOnUiThread);
}

TEST_F(ScreenPicturesTest, WithoutASizeTheFrameIsHeldUntilTheWindowHasOneAndFromTheUiThreadItGoesToTheWorker)
{
    const auto first = Quadrants(320, 180, GST_VIDEO_FORMAT_I420);
    PresentFromStreamingThread(first);
    EXPECT_EQ(pictures.Latest(), nullptr);
    EXPECT_EQ(ready, 0);
    pictures.SetTargetSize(QSize(160, 90));
    EXPECT_TRUE(Shows(first, QSize(160, 90)));

    const auto second = Quadrants(320, 180, GST_VIDEO_FORMAT_NV12);
    pictures.Present(second);
    EXPECT_TRUE(Shows(second, QSize(160, 90)));
    EXPECT_FALSE(readyOnUiThread);

    pictures.Clear();
    EXPECT_EQ(pictures.Latest(), nullptr);
}

TEST_F(ScreenPicturesTest, ARemakeOfAnOlderFrameNeverReplacesANewerOne)
{
    std::vector<std::shared_ptr<const DecodedFrame>> frames;
    for (int i = 0; i < 4; ++i)
        frames.push_back(Quadrants(640, 360, GST_VIDEO_FORMAT_I420));
    pictures.SetTargetSize(QSize(100, 50));
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const auto& older = frames[round % 4];
        const auto& newer = frames[(round + 1) % 4];
        PresentFromStreamingThread(older);
        // The worker starts on the older frame while the newer one arrives.
        const QSize size(100 + round % 2, 50);
        pictures.SetTargetSize(size);
        PresentFromStreamingThread(newer);
        ASSERT_TRUE(Shows(newer, size));
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_EQ(pictures.Latest()->source, newer);
    }
}

// Keeps a copy of each put, as the window system shows it.
class RecordingSurface final : public PictureSurface {
public:
    QImage MakeImage(QSize size) override
    {
        ++made;
        if (std::function<void()> once = std::exchange(whileMaking, nullptr))
            once();
        return QImage(size, QImage::Format_RGB32);
    }
    bool Put(const QImage& image) override
    {
        std::lock_guard lock(mutex);
        puts.push_back(image.copy());
        return true;
    }
    void Clear() override { ++clears; }
    std::vector<QImage> Puts()
    {
        std::lock_guard lock(mutex);
        return puts;
    }

    std::atomic<int> made{0};
    std::atomic<int> clears{0};
    std::function<void()> whileMaking;

private:
    std::mutex mutex;
    std::vector<QImage> puts;
};

TEST_F(ScreenPicturesTest, WithASurfaceThePictureIsPutThereByTheThreadThatMadeItInMemoryItReuses)
{
    const auto surface = std::make_shared<RecordingSurface>();
    pictures.SetSurface(surface);
    pictures.SetTargetSize(QSize(64, 36));
    for (int i = 0; i < 4; ++i)
        PresentFromStreamingThread(Quadrants(320, 180, GST_VIDEO_FORMAT_I420));
    const std::vector<QImage> puts = surface->Puts();
    ASSERT_EQ(puts.size(), 4u) << "each frame put before Present returned";
    for (const QImage& put : puts) {
        EXPECT_EQ(put.size(), QSize(64, 36));
        EXPECT_EQ(QuadrantFaults(put), "");
    }
    EXPECT_EQ(ready, 0) << "the UI thread is not asked to paint";
    EXPECT_EQ(pictures.Latest()->madeFor, surface.get());
    // The one shown and the one being made, no more: nothing is allocated per frame.
    EXPECT_EQ(surface->made, 2);

    // An expose puts the latest again; with no picture it is cleared.
    EXPECT_TRUE(pictures.ShowOnSurface());
    EXPECT_EQ(surface->Puts().size(), 5u);
    pictures.Clear();
    EXPECT_TRUE(pictures.ShowOnSurface());
    EXPECT_EQ(surface->clears, 1);

    // Without the surface the UI thread paints again.
    pictures.SetSurface(nullptr);
    EXPECT_FALSE(pictures.ShowOnSurface());
    PresentFromStreamingThread(Quadrants(320, 180, GST_VIDEO_FORMAT_I420));
    EXPECT_EQ(ready, 1);
    EXPECT_EQ(pictures.Latest()->madeFor, nullptr);
}

TEST_F(ScreenPicturesTest, APictureMadeForTheOldSizeIsNeverPutOnTheResizedWindow)
{
    const auto surface = std::make_shared<RecordingSurface>();
    pictures.SetSurface(surface);
    pictures.SetTargetSize(QSize(64, 36));
    // The window is resized while the streaming thread converts for the old size.
    surface->whileMaking = [this] { pictures.SetTargetSize(QSize(100, 50)); };
    const auto frame = Quadrants(320, 180, GST_VIDEO_FORMAT_I420);
    PresentFromStreamingThread(frame);
    ASSERT_TRUE(Shows(frame, QSize(100, 50)));
    for (int waited = 0; waited < 5000 && surface->Puts().empty(); waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const std::vector<QImage> puts = surface->Puts();
    ASSERT_FALSE(puts.empty()) << "the worker puts the frame at the new size";
    for (const QImage& put : puts)
        EXPECT_EQ(put.size(), QSize(100, 50));
    // An expose finds a picture of the old size at most, and does not put it either.
    pictures.ShowOnSurface();
    for (const QImage& put : surface->Puts())
        EXPECT_EQ(put.size(), QSize(100, 50));
}

}  // namespace
}  // namespace platform::gst
