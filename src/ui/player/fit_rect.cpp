#include "ui/player/fit_rect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kLongMin = static_cast<double>(std::numeric_limits<LONG>::min());
constexpr double kLongMax = static_cast<double>(std::numeric_limits<LONG>::max());

// Truncates toward zero and saturates at the ends of the 32-bit range.
LONG TruncToLong(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<LONG>(std::clamp(std::trunc(value), kLongMin, kLongMax));
}

LONG ClampToLong(std::int64_t value)
{
    return static_cast<LONG>(
        std::clamp<std::int64_t>(value, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

std::int64_t Width(const RECT& r)
{
    return std::int64_t{r.right} - r.left;
}

std::int64_t Height(const RECT& r)
{
    return std::int64_t{r.bottom} - r.top;
}

}  // namespace

RECT FitRect(LONG W, LONG H, const RECT& bounds)
{
    if (W == 0 || H == 0)
        return bounds;
    const double sx = static_cast<double>(Width(bounds)) / W;
    const double sy = static_cast<double>(Height(bounds)) / H;
    RECT fitted = bounds;
    if (sx >= sy)
        fitted.right = TruncToLong(bounds.left + std::trunc(W * sy));
    else
        fitted.bottom = TruncToLong(bounds.top + std::trunc(H * sx));
    return fitted;
}

SizedRect LabelRect(const RECT& client, LONG videoWidth)
{
    return {videoWidth, client.top, ClampToLong(std::int64_t{client.right} - videoWidth), ClampToLong(Height(client))};
}

SizedRect ZoomRect(const RECT& window, const RECT& client, const RECT& desktopClient, LONG sourceWidth,
                   LONG sourceHeight, double factor)
{
    const std::int64_t frameX = Width(window) - Width(client);
    const std::int64_t frameY = Height(window) - Height(client);
    SizedRect pos{std::max<LONG>(window.left, 0), std::max<LONG>(window.top, 0), 0, 0};

    if (factor == -1.0 || sourceWidth == 0 || sourceHeight == 0) {
        pos.width = ClampToLong(kLabelOnlyWidth + frameX);
        pos.height = ClampToLong(kLabelOnlyHeight + frameY);
    } else if (factor == 0.0) {
        // The outer rectangle becomes the desktop's: no frame is added.
        pos = {0, 0, desktopClient.right, desktopClient.bottom};
    } else {
        pos.width = TruncToLong(sourceWidth * factor + static_cast<double>(frameX));
        pos.height = TruncToLong(sourceHeight * factor + static_cast<double>(frameY));
    }
    return pos;
}
