#include "platform/media/cover_art.h"

#include <gst/video/video.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstring>

namespace platform::gst {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RGB32 words are BGRx bytes only on little-endian machines");

SamplePtr DecodeCover(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty())
        return nullptr;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return nullptr;
    if (size.width() > kLargestCoverSide || size.height() > kLargestCoverSide)
        reader.setScaledSize(size.scaled(kLargestCoverSide, kLargestCoverSide, Qt::KeepAspectRatio));
    const QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return nullptr;

    GstVideoInfo info;
    if (!gst_video_info_set_format(&info, GST_VIDEO_FORMAT_BGRx, guint(image.width()), guint(image.height())))
        return nullptr;
    // A still picture: no frame rate.
    info.fps_n = 0;
    info.fps_d = 1;
    const CapsPtr caps(gst_video_info_to_caps(&info));
    MiniObjectPtr<GstBuffer> buffer(gst_buffer_new_allocate(nullptr, info.size, nullptr));
    if (!caps || !buffer)
        return nullptr;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer.get(), GST_MAP_WRITE))
        return nullptr;
    auto* target = static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    const int targetStride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    for (int row = 0; row < image.height(); ++row)
        std::memcpy(target + qsizetype(row) * targetStride, image.constScanLine(row), size_t(image.width()) * 4);
    gst_video_frame_unmap(&frame);
    return SamplePtr(gst_sample_new(buffer.get(), caps.get(), nullptr, nullptr));
}

}  // namespace platform::gst
