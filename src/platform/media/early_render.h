#pragma once
// The medium named at start opens while the window system starts. Its pipeline
// is built and set prerolling on a thread of its own; the first RenderFile takes
// it over if it names the same medium, and discards it otherwise. For the UI
// thread.

#include <memory>
#include <string>

#include "platform/media/media_pipeline.h"

namespace platform::gst {

void BeginEarlyRender(const std::string& file, const std::string& uri);
// The early pipeline if it opens `uri`, started and without an observer; null
// otherwise. Either way nothing is left behind.
std::unique_ptr<MediaPipeline> TakeEarlyRender(const std::string& file);

// Loads the decoders most media need a second from now, on a thread of its own,
// so that a first open later does not wait for them and the window's start does
// not either.
void PreloadDecodersSoon();

}  // namespace platform::gst
