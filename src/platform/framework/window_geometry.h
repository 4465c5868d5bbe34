#pragma once
// Platform-private: window geometry shared by creation and placement.

#include <QRect>

#include <algorithm>
#include <limits>

#include "platform/framework/wnd.h"

namespace platform {

// X11 keeps a window's position in 16 bits: a larger one would wrap around onto the
// screen instead of staying off it.
inline int ClampPosition(long long v)
{
    return static_cast<int>(std::clamp(v, -32768LL, 32767LL));
}

inline int ClampSize(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, 0, kMaxWindowSide));
}

// Where a window goes for any 32-bit numbers: off the screen if need be, but at a
// place and size the window system and a canvas can hold.
inline QRect WindowGeometry(long long x, long long y, long long cx, long long cy)
{
    return QRect(ClampPosition(x), ClampPosition(y), ClampSize(cx), ClampSize(cy));
}

inline RECT ToRECT(const QRect& r)
{
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

inline LONG ClampToLong(long long v)
{
    return static_cast<LONG>(
        std::clamp<long long>(v, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

}  // namespace platform
