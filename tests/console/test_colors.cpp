#include "console/colorref.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorArithmetic, LightenAndDarkenLeaveChannelsThatWouldOverflowUnchanged)
{
    struct Row {
        const char* name;
        COLORREF (*op)(COLORREF, int);
        COLORREF in;
        int amount;
        COLORREF out;
    };
    const Row rows[] = {
        {"lighten grey F0", LightenColor, 0x00F0F0F0, 51, 0x00F0F0F0},
        {"lighten red", LightenColor, 0x000000FF, 51, 0x003333FF},
        {"lighten to exactly 255", LightenColor, 0x00CC0000, 51, 0x00FF3333},
        {"lighten mixed", LightenColor, 0x0010E0CD, 51, 0x0043E0CD},
        {"darken red", DarkenColor, 0x000000FF, 51, 0x000000CC},
        {"darken to exactly 0", DarkenColor, 0x00333333, 51, 0x00000000},
        {"darken below amount", DarkenColor, 0x00320030, 51, 0x00320030},
        {"darken mixed", DarkenColor, 0x00FF3280, 51, 0x00CC324D},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.op(row.in, row.amount), row.out);
    }
}

TEST(ColorArithmetic, HalfwayAndBlendWorkPerChannel)
{
    EXPECT_EQ(halfwayColor(makeColorRef(160, 0, 255), makeColorRef(64, 100, 0)),
              makeColorRef(112, 50, 127));
    EXPECT_EQ(blendColor(makeColorRef(255, 0, 100), makeColorRef(0, 255, 200), 0.25),
              makeColorRef(63, 191, 175));
    EXPECT_EQ(toQColor(0x00C4C4FF), QColor(255, 196, 196));
    EXPECT_EQ(fromQColor(QColor(1, 2, 3)), 0x00030201u);
}

}  // namespace
