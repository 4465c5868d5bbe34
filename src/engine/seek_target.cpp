#include "engine/seek_target.h"

#include <algorithm>
#include <cmath>

std::optional<double> SeekStepTarget(double position, double step, double length)
{
    if (!(length > 0) || !std::isfinite(length) || !std::isfinite(position + step))
        return std::nullopt;
    return std::clamp(position + step, 0.0, length);
}

std::optional<double> SeekFractionTarget(double fraction, double length)
{
    if (!std::isfinite(fraction))
        return std::nullopt;
    return SeekStepTarget(0.0, std::clamp(fraction, 0.0, 1.0) * length, length);
}

int NextSubtitleStream(int shown, int count)
{
    if (count <= 0)
        return -1;
    if (shown < 0 || shown >= count)
        return 0;
    return shown + 1 < count ? shown + 1 : -1;
}

int NextAudioStream(int playing, int count)
{
    if (count <= 0)
        return -1;
    return playing >= 0 && playing + 1 < count ? playing + 1 : 0;
}
