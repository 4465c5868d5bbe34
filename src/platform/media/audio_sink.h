#pragma once
// The audio sink a new pipeline plays through.

#include "platform/media/gst_handles.h"

namespace platform::gst {

// VANTREL_AUDIOSINK, when set, is a pipeline description ("fakesink" alone means
// a fake sink that keeps real time). Otherwise the system's audio output, or that
// fake sink when the machine has no working sound.
ElementPtr MakeAudioSink();

}  // namespace platform::gst
