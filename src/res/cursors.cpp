#include <array>
#include <string_view>

#include "res/resource.h"
#include "res/resource_table.h"

namespace {

constexpr int kSize = 32;
constexpr int kRowBytes = kSize / 8;

// The drag cursor: a four-way move arrow, black with a white outline so that it
// shows on the black window and on bright pictures alike. '#' black, 'o' white,
// '.' transparent. The hot spot is the centre of the cross.
constexpr std::string_view kMoveArrows[kSize] = {
    "..............ooo...............", ".............oo#oo..............", "............oo###oo.............",
    "...........oo#####oo............", "..........oo#######oo...........", "..........o#########o...........",
    "..........oooo###oooo...........", ".............o###o..............", ".............o###o..............",
    ".............o###o..............", "....ooo......o###o......ooo.....", "...oo#o......o###o......o#oo....",
    "..oo##o......o###o......o##oo...", ".oo###oooooooo###oooooooo###oo..", "oo###########################oo.",
    "o#############################o.", "oo###########################oo.", ".oo###oooooooo###oooooooo###oo..",
    "..oo##o......o###o......o##oo...", "...oo#o......o###o......o#oo....", "....ooo......o###o......ooo.....",
    ".............o###o..............", ".............o###o..............", ".............o###o..............",
    "..........oooo###oooo...........", "..........o#########o...........", "..........oo#######oo...........",
    "...........oo#####oo............", "............oo###oo.............", ".............oo#oo..............",
    "..............ooo...............", "................................",
};

struct Masks {
    std::array<unsigned char, kSize * kRowBytes> andMask{};
    std::array<unsigned char, kSize * kRowBytes> xorMask{};
};

// AND 1 keeps the screen (transparent); AND 0 with XOR 0 paints black, with XOR 1
// white. The leftmost pixel of a row is the high bit of its first byte.
constexpr Masks MasksFromPicture(const std::string_view (&rows)[kSize])
{
    Masks masks;
    for (int y = 0; y < kSize; ++y) {
        if (rows[y].size() != kSize)
            throw "every row of the cursor picture is 32 pixels";
        for (int x = 0; x < kSize; ++x) {
            const auto bit = static_cast<unsigned char>(0x80u >> (x % 8));
            const auto byte = static_cast<std::size_t>(y * kRowBytes + x / 8);
            switch (rows[y][x]) {
            case '.': masks.andMask[byte] |= bit; break;
            case 'o': masks.xorMask[byte] |= bit; break;
            case '#': break;
            default: throw "the cursor picture uses '.', 'o' and '#'";
            }
        }
    }
    return masks;
}

constexpr Masks kMoveMasks = MasksFromPicture(kMoveArrows);
constexpr CursorResource kDragCursor{kSize, kSize, 15, 15, kMoveMasks.andMask, kMoveMasks.xorMask};

}  // namespace

namespace res {

const CursorResource* FindCursor(UINT id)
{
    return id == IDC_DRAG ? &kDragCursor : nullptr;
}

}  // namespace res
