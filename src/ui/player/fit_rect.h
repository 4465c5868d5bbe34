#pragma once
// Geometry of the player window: the picture fitted into the client area, the label
// panel beside it, and the window sizes of the zoom presets.

#include "platform/system/win_types.h"

// The largest W:H rectangle at the bounds' top-left corner that fits the bounds:
// it uses the full height (free space at the right) or the full width (free space
// below). A width or height of 0 gives the bounds themselves.
RECT FitRect(LONG W, LONG H, const RECT& bounds);

// The label panel takes the client height to the right of the picture.
SizedRect LabelRect(const RECT& client, LONG videoWidth);

// Client size of the window when there is no picture to size it by.
inline constexpr LONG kLabelOnlyWidth = 192;
inline constexpr LONG kLabelOnlyHeight = 76;

// The window's new position and outer size for a zoom factor: the picture scaled by
// `factor` plus the frame; 0.0 covers the desktop; -1.0, or no picture, gives the
// label-only size. A negative left or top becomes 0.
SizedRect ZoomRect(const RECT& window, const RECT& client, const RECT& desktopClient, LONG sourceWidth,
                   LONG sourceHeight, double factor);
