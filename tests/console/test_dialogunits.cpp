#include "console/dialogunits.h"

#include <gtest/gtest.h>

using namespace console;

namespace {

TEST(DialogUnits, ConvertEdgesWithTheDialogFontMetrics)
{
    // 1.5 px across and 1.625 px down per unit at 96 dpi, each edge rounded.
    EXPECT_EQ(dialogRectToPixels(179, 63, 103, 87, 96), QRect(269, 102, 154, 142));
    EXPECT_EQ(dialogRectToPixels(7, 7, 72, 23, 96), QRect(11, 11, 108, 38));
    EXPECT_EQ(dialogRectToPixels(179, 63, 103, 87, 192), QRect(537, 205, 309, 283));
    EXPECT_EQ(dialogUnitsToPixelsY(8, 120), 16);
}

}  // namespace
