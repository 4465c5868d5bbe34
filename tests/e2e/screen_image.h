#pragma once
// A piece of the screen as the X server shows it, read from a binary PPM that `import` writes.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlack{0x00, 0x00, 0x00};
inline constexpr Rgb kTextGreen{0x00, 0xFF, 0x00};  // status text and the played part of the bar
inline constexpr Rgb kBarGreen{0x00, 0x80, 0x00};   // the rest of the bar
inline constexpr Rgb kErrorRed{0xFF, 0x00, 0x00};

class ScreenImage {
public:
    // Empty when the data is not an 8-bit binary PPM.
    static std::optional<ScreenImage> FromPpm(const std::string& data);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb At(int x, int y) const;  // x, y inside the image

    // Counts within the columns [left, right) and rows [top, bottom), clipped to the image.
    int Count(Rgb colour, int left, int top, int right, int bottom) const;
    int Count(Rgb colour) const { return Count(colour, 0, 0, m_width, m_height); }
    int CountWhere(const std::function<bool(Rgb)>& holds, int left, int top, int right, int bottom) const;
    // Pixels of any shade of pure green, as the splash fades it in and out.
    int CountGreenShades() const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;  // RGB, row by row
};

}  // namespace e2e
