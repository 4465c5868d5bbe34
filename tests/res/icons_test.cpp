// Icon and cursor handles made from the resources.

#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>

#include <fstream>
#include <string>

#include "platform/framework/app.h"
#include "platform/framework/icon_handles.h"
#include "platform/framework/wnd.h"
#include "res/resource.h"
#include "res/resource_table.h"

namespace {

class IconsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::EnsureToolkit();
        res::RegisterResources();
    }
};

TEST_F(IconsTest, MainIconOffersEverySizeAndIsShared)
{
    HICON icon = LoadIconResource(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    const QList<QSize> sizes = icon->icon.availableSizes();
    for (int edge : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(edge, edge))) << edge;
    EXPECT_EQ(LoadIconResource(IDR_MAINFRAME), icon);
    EXPECT_EQ(LoadIconResource(IDR_MAINFRAME + 1), nullptr);

    // The artwork: a green play sign on a dark tile with transparent corners.
    const QImage image = icon->icon.pixmap(QSize(32, 32)).toImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    const QColor centre = image.pixelColor(15, 16);
    EXPECT_GT(centre.green(), 150);
    EXPECT_LT(centre.red(), 120);
    const QColor tile = image.pixelColor(5, 28);
    EXPECT_LT(tile.lightness(), 40);
}

// Each image format plugin is a library to load and map: the icons, PNG alone, need none.
TEST_F(IconsTest, IconsLoadNoImageFormatPlugin)
{
    ASSERT_NE(LoadIconResource(IDR_MAINFRAME), nullptr);
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        EXPECT_EQ(line.find("/imageformats/"), std::string::npos) << line;
}

TEST_F(IconsTest, DragCursorKeepsItsHotSpotAndColours)
{
    HCURSOR cursor = LoadCursorResource(IDC_DRAG);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor->cursor.hotSpot(), QPoint(15, 15));
    const QImage bitmap = cursor->cursor.bitmap().toImage().convertToFormat(QImage::Format_Mono);
    const QImage mask = cursor->cursor.mask().toImage().convertToFormat(QImage::Format_Mono);
    ASSERT_EQ(bitmap.size(), QSize(32, 32));
    ASSERT_EQ(mask.size(), QSize(32, 32));
    // Black at the centre, white on the outline, nothing in the corner.
    auto black = [](const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; };
    EXPECT_TRUE(black(mask, 15, 15));
    EXPECT_TRUE(black(bitmap, 15, 15));
    EXPECT_TRUE(black(mask, 15, 0));
    EXPECT_FALSE(black(bitmap, 15, 0));
    EXPECT_FALSE(black(mask, 0, 0));
    EXPECT_EQ(LoadCursorResource(IDC_DRAG), cursor);
    EXPECT_EQ(LoadCursorResource(IDC_DRAG + 1), nullptr);
}

TEST_F(IconsTest, WaitCursorIsTheToolkitsBusyShape)
{
    HCURSOR wait = LoadWaitCursor();
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(wait->cursor.shape(), Qt::WaitCursor);
    EXPECT_EQ(LoadWaitCursor(), wait);
}

}  // namespace
