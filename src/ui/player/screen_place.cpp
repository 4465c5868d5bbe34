#include "ui/player/screen_place.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

using Wide = std::int64_t;

struct Span {
    Wide from;
    Wide to;  // one past the end
};

Wide Overlap(Span a, Span b)
{
    return std::max<Wide>(0, std::min(a.to, b.to) - std::max(a.from, b.from));
}

// How far apart two spans are; 0 when they meet.
Wide Gap(Span a, Span b)
{
    return std::max<Wide>({0, b.from - a.to, a.from - b.to});
}

Wide Extent(LONG size, LONG least)
{
    return std::max<Wide>(size, least);
}

}  // namespace

WindowPos PlaceOnScreens(const WindowPos& stored, const std::vector<RECT>& screens)
{
    const Span across{stored.x, Wide{stored.x} + Extent(stored.cx, kVisibleWidth)};
    const Span down{stored.y, Wide{stored.y} + Extent(stored.cy, kVisibleHeight)};
    const RECT* nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::max();
    for (const RECT& screen : screens) {
        const Span screenAcross{screen.left, screen.right};
        const Span screenDown{screen.top, screen.bottom};
        if (Overlap(across, screenAcross) >= kVisibleWidth && Overlap(down, screenDown) >= kVisibleHeight)
            return stored;
        const auto dx = static_cast<double>(Gap(across, screenAcross));
        const auto dy = static_cast<double>(Gap(down, screenDown));
        const double distance = dx * dx + dy * dy;
        if (distance < nearestDistance) {
            nearest = &screen;
            nearestDistance = distance;
        }
    }
    if (nearest == nullptr)
        return stored;
    WindowPos moved = stored;
    const LONG screenWidth = nearest->right - nearest->left;
    const LONG screenHeight = nearest->bottom - nearest->top;
    moved.cx = std::min(stored.cx, screenWidth);
    moved.cy = std::min(stored.cy, screenHeight);
    const LONG width = std::max(moved.cx, kVisibleWidth);
    const LONG height = std::max(moved.cy, kVisibleHeight);
    moved.x = static_cast<LONG>(std::clamp<Wide>(stored.x, nearest->left, std::max<Wide>(nearest->left, Wide{nearest->right} - width)));
    moved.y = static_cast<LONG>(std::clamp<Wide>(stored.y, nearest->top, std::max<Wide>(nearest->top, Wide{nearest->bottom} - height)));
    return moved;
}
