// The program's resources as the platform receives them.

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <tuple>
#include <vector>

#include "res/product.h"
#include "res/resource.h"
#include "res/resource_table.h"

namespace {

// kind, id, text, nesting depth; the end markers only change the depth.
using Entry = std::tuple<UINT, UINT, std::string, int>;

TEST(PopupMenuResource, HoldsTheContextMenuInOrderEnabledAndUnchecked)
{
    std::vector<Entry> entries;
    int depth = 0;
    for (const MenuItemTemplate& e : res::FindMenu(IDR_POPUP)) {
        EXPECT_EQ(e.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u) << e.text;
        EXPECT_EQ(e.text.find('&'), std::string_view::npos) << "no mnemonics: " << e.text;
        if (e.endPopup) {
            --depth;
            continue;
        }
        entries.emplace_back(e.flags, e.id, e.text, depth);
        if (e.flags & MF_POPUP)
            ++depth;
    }
    EXPECT_EQ(depth, 0) << "every sub-menu is closed";
    const std::vector<Entry> expected = {
        {MF_POPUP,     0,     "_ﾎﾟｯﾌﾟｱｯﾌﾟ_", 0},
        {MF_STRING,    32771, "Play/Pause",                    1},
        {MF_STRING,    32772, "Stop",                          1},
        {MF_SEPARATOR, 0,     "",                              1},
        {MF_POPUP,     0,     "Volume",                        1},
        {MF_STRING,    32780, "Up  (PageUp Key)",              2},
        {MF_STRING,    32781, "Down  (PageDown Key)",          2},
        {MF_POPUP,     0,     "Zoom",                          1},
        {MF_STRING,    32787, "Minimize",                      2},
        {MF_STRING,    32785, "25%",                           2},
        {MF_STRING,    32782, "50%",                           2},
        {MF_STRING,    32783, "100%",                          2},
        {MF_STRING,    32784, "200%",                          2},
        {MF_STRING,    32786, "Maximize",                      2},
        {MF_POPUP,     0,     "Options",                       1},
        {MF_STRING,    32776, "Auto rewind",                   2},
        {MF_STRING,    32777, "Repeat",                        2},
        {MF_STRING,    32778, "Stretch",                       2},
        {MF_STRING,    32779, "Auto zoom",                     2},
        {MF_SEPARATOR, 0,     "",                              1},
        {MF_STRING,    57601, "Render File...",                1},
        {MF_SEPARATOR, 0,     "",                              1},
        {MF_STRING,    57664, "About...",                      1},
        {MF_SEPARATOR, 0,     "",                              1},
        {MF_STRING,    57665, "Exit",                          1},
    };
    EXPECT_EQ(entries, expected);
    EXPECT_TRUE(res::FindMenu(IDR_POPUP + 1).empty());
}

using Frame = std::tuple<DWORD, DWORD, int, int, int, int, std::string_view, std::string_view, int>;
using Control = std::tuple<int, ControlClass, std::string_view, DWORD, int, int, int, int>;

Frame FrameOf(const DialogTemplate& d)
{
    return {d.style, d.exStyle, d.x, d.y, d.cx, d.cy, d.caption, d.fontFace, d.fontPoints};
}

std::vector<Control> ControlsOf(const DialogTemplate& d)
{
    std::vector<Control> controls;
    for (const ControlTemplate& c : d.controls)
        controls.emplace_back(c.id, c.cls, c.text, c.style, c.x, c.y, c.cx, c.cy);
    return controls;
}

constexpr auto Static = ControlClass::Static;
constexpr auto Edit = ControlClass::Edit;
constexpr auto Button = ControlClass::Button;

TEST(DialogTemplates, HaveTheirStylesPositionsFontsAndControls)
{
    const DialogTemplate* player = res::FindDialog(IDD_PLAYER);
    const DialogTemplate* panel = res::FindDialog(IDD_LABEL_PANEL);
    const DialogTemplate* about = res::FindDialog(IDD_ABOUTBOX);
    const DialogTemplate* open = res::FindDialog(IDD_OPEN_MEDIA);
    ASSERT_TRUE(player && panel && about && open);
    EXPECT_EQ(res::FindDialog(999), nullptr);

    EXPECT_EQ(FrameOf(*player), Frame(0x90040040, 0x00040000, 0, 0, 107, 51, "", "ＭＳ Ｐゴシック", 9));
    EXPECT_TRUE(ControlsOf(*player).empty());
    EXPECT_EQ(FrameOf(*panel), Frame(0x40000040, 0, 0, 0, 132, 55, "", "ＭＳ ゴシック", 9));
    EXPECT_TRUE(ControlsOf(*panel).empty());

    EXPECT_EQ(FrameOf(*about), Frame(0x80C800C0, 0, 0, 0, 217, 55, "About Vantrel", "ＭＳ Ｐゴシック", 9));
    EXPECT_EQ(ControlsOf(*about), (std::vector<Control>{
                                      {-1,   Static, "128",                   0x50000003, 11,  17, 20,  20},
                                      {-1,   Static, "Vantrel Version 1.03s", 0x50020080, 40,  10, 119, 8 },
                                      {-1,   Static, res::kCreditLine,        0x50020000, 40,  25, 168, 8 },
                                      {IDOK, Button, "OK",                    0x50030001, 178, 7,  32,  14},
                                      {1002, Edit,   "",                      0x50010880, 40,  35, 170, 13},
    }));

    EXPECT_EQ(FrameOf(*open), Frame(0x80C800C0, 0, 0, 0, 218, 48, "Open media file", "ＭＳ Ｐゴシック", 9));
    EXPECT_EQ(ControlsOf(*open), (std::vector<Control>{
                                     {-1,       Static, "URL:",      0x50020000, 7,   9,  15,  8 },
                                     {1005,     Edit,   "",          0x50810080, 23,  7,  188, 14},
                                     {IDOK,     Button, "OK",        0x50010001, 92,  27, 37,  14},
                                     {IDCANCEL, Button, "Cancel",    0x50010000, 133, 27, 37,  14},
                                     {1004,     Button, "Browse...", 0x50010000, 174, 27, 37,  14},
    }));
}

// Pixel of a monochrome cursor: 0 black, 1 white, 2 transparent, 3 inverted.
int CursorPixel(const CursorResource& c, int x, int y)
{
    const auto byte = static_cast<std::size_t>(y * ((c.width + 7) / 8) + x / 8);
    const int bit = 0x80 >> (x % 8);
    return ((c.andMask[byte] & bit) ? 2 : 0) + ((c.xorMask[byte] & bit) ? 1 : 0);
}

TEST(DragCursor, IsAThirtyTwoPixelCrossAroundItsHotSpot)
{
    const CursorResource* c = res::FindCursor(IDC_DRAG);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ((std::vector<int>{c->width, c->height, c->hotX, c->hotY}), (std::vector<int>{32, 32, 15, 15}));
    ASSERT_EQ(c->andMask.size(), 128u);
    ASSERT_EQ(c->xorMask.size(), 128u);
    EXPECT_EQ(CursorPixel(*c, 15, 15), 0) << "the hot spot is on the black cross";
    EXPECT_EQ(CursorPixel(*c, 15, 0), 1) << "a white outline round the tips";
    EXPECT_EQ(CursorPixel(*c, 0, 0), 2);
    // The same arrow in all four directions.
    for (int y = 0; y < 31; ++y) {
        for (int x = 0; x < 31; ++x) {
            ASSERT_EQ(CursorPixel(*c, x, y), CursorPixel(*c, 30 - x, y)) << x << "," << y;
            ASSERT_EQ(CursorPixel(*c, x, y), CursorPixel(*c, y, x)) << x << "," << y;
        }
    }
}

TEST(MainIcon, EveryImageDecodesAtItsSize)
{
    const IconResource* icon = res::FindIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    std::vector<int> sizes;
    for (const IconImage& image : icon->images) {
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(image.png.data(), static_cast<int>(image.png.size()), "PNG")) << image.size;
        EXPECT_EQ(decoded.size(), QSize(image.size, image.size));
        sizes.push_back(image.size);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 64, 128, 256}));
}

TEST(Registration, ThePlatformLooksUpThroughTheProgramsTable)
{
    res::RegisterResources();
    const ResourceTable& table = platform::Resources();
    ASSERT_TRUE(table.dialog && table.menu && table.icon && table.cursor);
    EXPECT_EQ(table.dialog(IDD_OPEN_MEDIA), res::FindDialog(IDD_OPEN_MEDIA));
}

}  // namespace
