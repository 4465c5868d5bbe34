#pragma once
// The one toolkit application object of the process. The window base, the paint
// context and the application object all need it; none of them owns it.

namespace platform {
// Whether the environment names a display, or a toolkit platform that needs none.
bool DisplayNamed();
// Makes the toolkit application object, named after `programName`, unless one
// exists. The toolkit takes its settings from the environment only: the command
// line belongs to the program. In a Wayland session with XWayland it runs on X,
// unless QT_QPA_PLATFORM says otherwise. Numbers and dates are then formatted in
// the C locale.
void MakeToolkit(const char* programName);
// False where the window system places the windows and the program cannot (a
// Wayland compositor): a window's place is then not the program's to set.
bool PlacesItsWindows();
// Deletes the application object made by MakeToolkit (at the end of the program).
void DestroyToolkit();
// Makes sure a toolkit application object exists; without any display it draws
// offscreen rather than abort (tests call this).
void EnsureToolkit();
// Runs posted messages, timers and paints until `ms` have passed (tests).
void PumpEvents(int ms);
}  // namespace platform
