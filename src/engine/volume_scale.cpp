#include "engine/volume_scale.h"

#include "platform/com/dshow.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {}

LONG LevelToAttenuation(double fraction)
{
    if (fraction == 0.0)
        return kSilentAttenuation;
    const double attenuation = std::trunc(1000.0 * std::log(fraction));
    if (std::isnan(attenuation))
        return kSilentAttenuation;
    // Only an infinite fraction leaves the 32-bit range; every finite one stays far inside it.
    constexpr double kMax = static_cast<double>(std::numeric_limits<LONG>::max());
    return attenuation >= kMax ? std::numeric_limits<LONG>::max() : static_cast<LONG>(attenuation);
}

LONG AttenuationForLevel(int level)
{
    return LevelToAttenuation(std::clamp(level, 0, kLoudestVolume) / static_cast<double>(kLoudestVolume));
}
