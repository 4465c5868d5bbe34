#pragma once
// Where a window place read from the settings goes when no screen shows it any more
// (a monitor unplugged since the last run, or a damaged file).

#include <vector>

#include "platform/system/win_types.h"
#include "ui/player/fit_rect.h"

// The smallest part of the window a screen must show for a stored place to stand.
inline constexpr LONG kVisibleWidth = 64;
inline constexpr LONG kVisibleHeight = 48;

// `stored` as it is when some screen shows at least kVisibleWidth x kVisibleHeight of
// it (a size of 0 or less counts as that much); else moved onto the screen nearest to
// it, its size kept as far as that screen holds it. Without screens, as stored.
SizedRect PlaceOnScreens(const SizedRect& stored, const std::vector<RECT>& screens);
