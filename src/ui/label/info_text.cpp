#include "ui/label/info_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "engine/play_state.h"
#include "engine/volume_scale.h"
#include "platform/system/format.h"
#include "platform/system/url.h"

namespace {

constexpr double kIntMin = static_cast<double>(std::numeric_limits<int>::min());
constexpr double kIntMax = static_cast<double>(std::numeric_limits<int>::max());

// Whole seconds toward zero; 0 where no int holds the result.
int TruncOrZero(double value)
{
    const double whole = std::trunc(value);
    if (!(whole >= kIntMin && whole <= kIntMax))
        return 0;
    return static_cast<int>(whole);
}

}  // namespace

std::string SizeText(std::int64_t bytes)
{
    using ll = long long;
    const ll n = bytes;
    // Integer division truncates toward zero and remainders keep the sign of n,
    // so no value of n can overflow here.
    const ll k = n / 1024 + (n % 1024 != 0 ? 1 : 0);
    const std::string kb = k / 1000 != 0 ? Format("%lld,%03lldKB", k / 1000, k % 1000) : Format("%lldKB", k);

    const ll m = n / 1000000;
    const ll t = (n / 1000) % 1000;
    const ll u = n % 1000;
    std::string exact;
    if (m != 0)
        exact = Format(" (%lld,%03lld,%03lld byte)", m, t, u);
    else if (t != 0)
        exact = Format(" (%lld,%03lld byte)", t, u);
    else
        exact = Format(" (%lld byte)", u);
    return kb + exact;
}

std::string StatusWord(int state)
{
    switch (state) {
    case STATE_STOPPED: return "Stopped";
    case STATE_PAUSED: return "Paused";
    case STATE_PLAYING: return "Playing";
    default: return {};
    }
}

std::string StatusLine(const std::string& word, double position, double duration, int volume)
{
    return Format("%s: %d/%d  Volume: %d/%d    ", word.c_str(), TruncOrZero(position), TruncOrZero(duration), volume,
                  kLoudestVolume);
}

std::string FileNameFromPath(const std::string& path)
{
    if (IsUrl(path))
        return path;
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string VideoSizeLine(int width, int height)
{
    return Format("Video size: %d x %d", width, height);
}

std::string TimeLine(double duration)
{
    return Format("Time: %f(sec)", duration);
}

int SplashGreen(int tick)
{
    if (tick < 0 || tick > 63)
        return 0;
    if (tick < 16)
        return 16 * tick;
    if (tick < 48)
        return 255;
    return 16 * (63 - tick);
}

int ProgressSplit(double position, double duration, int width)
{
    const double quotient = position / duration;
    if (!std::isfinite(quotient))
        return 5;
    const double split = 5.0 + std::trunc(quotient * (static_cast<double>(width) - 10.0));
    if (split <= kIntMin)
        return std::numeric_limits<int>::min();
    if (split >= kIntMax)
        return std::numeric_limits<int>::max();
    return static_cast<int>(split);
}

namespace {

constexpr int kBarInset = 5;
constexpr int kBarBottom = 11;

}  // namespace

bool IsOnProgressBar(int x, int y, int width)
{
    return x >= kBarInset && x < width - kBarInset && y >= 0 && y < kBarBottom;
}

std::optional<double> ProgressFractionAt(int x, int width)
{
    const int span = width - 2 * kBarInset;
    if (span <= 0)
        return std::nullopt;
    return std::clamp(static_cast<double>(x - kBarInset) / static_cast<double>(span), 0.0, 1.0);
}
