#pragma once
// Platform-private: the X server's own screen saver, suspended for this client through
// the MIT-SCREEN-SAVER extension when no desktop service answers.

namespace desktop {

// False when the toolkit runs on no X server or the server lacks the extension.
bool XScreenSaverAvailable();
// Suspends (or resumes) the X screen saver; the server resumes it when we disconnect.
void SuspendXScreenSaver(bool suspend);

}  // namespace desktop
