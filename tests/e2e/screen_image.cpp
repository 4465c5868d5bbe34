#include "e2e/screen_image.h"

#include <algorithm>
#include <sstream>

namespace e2e {
namespace {

// The next header number, past white space and comments.
std::optional<int> HeaderNumber(std::istringstream& in)
{
    for (;;) {
        in >> std::ws;
        if (in.peek() != '#')
            break;
        std::string comment;
        std::getline(in, comment);
    }
    int value = 0;
    if (!(in >> value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<ScreenImage> ScreenImage::FromPpm(const std::string& data)
{
    std::istringstream in(data);
    std::string magic;
    in >> magic;
    if (magic != "P6")
        return std::nullopt;
    const auto width = HeaderNumber(in);
    const auto height = HeaderNumber(in);
    const auto maxValue = HeaderNumber(in);
    if (!width || !height || maxValue != 255 || *width <= 0 || *height <= 0)
        return std::nullopt;
    in.get();  // the one white-space byte before the pixels

    ScreenImage image;
    image.m_width = *width;
    image.m_height = *height;
    const auto offset = static_cast<std::size_t>(in.tellg());
    const std::size_t size = static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height) * 3;
    if (data.size() < offset + size)
        return std::nullopt;
    image.m_pixels.assign(data.begin() + static_cast<std::ptrdiff_t>(offset),
                          data.begin() + static_cast<std::ptrdiff_t>(offset + size));
    return image;
}

Rgb ScreenImage::At(int x, int y) const
{
    const std::size_t at =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)) * 3;
    return {m_pixels[at], m_pixels[at + 1], m_pixels[at + 2]};
}

int ScreenImage::Count(Rgb colour, int left, int top, int right, int bottom) const
{
    return CountWhere([colour](Rgb pixel) { return pixel == colour; }, left, top, right, bottom);
}

int ScreenImage::CountWhere(const std::function<bool(Rgb)>& holds, int left, int top, int right, int bottom) const
{
    int found = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, m_height); ++y) {
        for (int x = std::max(left, 0); x < std::min(right, m_width); ++x) {
            if (holds(At(x, y)))
                ++found;
        }
    }
    return found;
}

int ScreenImage::CountGreenShades() const
{
    int found = 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const Rgb pixel = At(x, y);
            if (pixel.red == 0 && pixel.blue == 0 && pixel.green > 0)
                ++found;
        }
    }
    return found;
}

}  // namespace e2e
