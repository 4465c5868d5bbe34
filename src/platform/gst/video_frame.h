#pragma once
// A decoded picture as an image, without copying its pixels.

#include <gst/gst.h>

#include <QImage>

namespace platform::gst {

// Wraps a BGRx sample. The image keeps the sample and its mapping alive for as
// long as it (or any copy of it) lives. A null image when the sample has no
// usable picture.
QImage ImageFromSample(GstSample* sample);

}  // namespace platform::gst
