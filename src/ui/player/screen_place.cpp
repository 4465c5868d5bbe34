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

SizedRect PlaceOnScreens(const SizedRect& stored, const std::vector<RECT>& screens)
{
    const Span across{stored.left, Wide{stored.left} + Extent(stored.width, kVisibleWidth)};
    const Span down{stored.top, Wide{stored.top} + Extent(stored.height, kVisibleHeight)};
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
    SizedRect moved = stored;
    const LONG screenWidth = nearest->right - nearest->left;
    const LONG screenHeight = nearest->bottom - nearest->top;
    moved.width = std::min(stored.width, screenWidth);
    moved.height = std::min(stored.height, screenHeight);
    const LONG width = std::max(moved.width, kVisibleWidth);
    const LONG height = std::max(moved.height, kVisibleHeight);
    moved.left = static_cast<LONG>(
        std::clamp<Wide>(stored.left, nearest->left, std::max<Wide>(nearest->left, Wide{nearest->right} - width)));
    moved.top = static_cast<LONG>(
        std::clamp<Wide>(stored.top, nearest->top, std::max<Wide>(nearest->top, Wide{nearest->bottom} - height)));
    return moved;
}
