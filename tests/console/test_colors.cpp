#include "console/colorref.h"
#include "console/macsliderctrl.h"
#include "console/memdc.h"

#include <QImage>
#include <QPainter>

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

TEST(TiltSliderColours, PrimaryRedDerivesItsShades)
{
    CMacSliderCtrl slider;
    QPalette palette = slider.palette();
    palette.setColor(QPalette::Button, QColor(200, 200, 200));
    palette.setColor(QPalette::Dark, QColor(101, 100, 100));
    palette.setColor(QPalette::Shadow, QColor(0, 0, 10));
    palette.setColor(QPalette::Light, QColor(250, 251, 252));
    slider.setPalette(palette);

    slider.SetPrimaryColor(0x000000FF);
    EXPECT_EQ(slider.GetPrimaryColor(), 0x000000FFu);
    EXPECT_EQ(slider.hiliteColor(), 0x003333FFu);
    EXPECT_EQ(slider.lighterColor(), 0x006666FFu);
    EXPECT_EQ(slider.shadowColor(), 0x000000CCu);
    EXPECT_EQ(slider.darkerColor(), 0x00000099u);
    // Frames from the 3D colours of the palette.
    EXPECT_EQ(slider.darkFrameColor(), makeColorRef(50, 50, 55));
    EXPECT_EQ(slider.frameMidColor(), makeColorRef(150, 150, 150));
    EXPECT_EQ(slider.edgeLightColor(), makeColorRef(250, 251, 252));

    slider.SetChannelColor(0x00C4C4FF);
    slider.SetSelectionColor(0x004040FF);
    EXPECT_EQ(slider.GetChannelColor(), 0x00C4C4FFu);
    EXPECT_EQ(slider.GetSelectionColor(), 0x004040FFu);
    // Changing the selection colour keeps the thumb's shades.
    EXPECT_EQ(slider.hiliteColor(), 0x003333FFu);
}

TEST(MemoryDrawingSurface, CopiesTheCoveredRectangleInOneStepWhenItGoes)
{
    QImage target(40, 40, QImage::Format_ARGB32);
    target.fill(Qt::red);
    QPainter painter(&target);
    painter.setBackground(QColor(0, 255, 0));
    {
        CMemDC mem(painter, QRect(10, 10, 20, 20));
        ASSERT_TRUE(mem.drawsToMemory());
        mem->setPen(Qt::blue);
        mem->drawPoint(15, 16);   // target coordinates
        mem->drawPoint(35, 35);   // outside the covered rectangle: lost
        painter.end();
        // Nothing reaches the target before the surface goes.
        EXPECT_EQ(target.pixelColor(15, 16), QColor(Qt::red));
        painter.begin(&target);
    }
    painter.end();
    EXPECT_EQ(target.pixelColor(15, 16), QColor(Qt::blue));
    EXPECT_EQ(target.pixelColor(10, 10), QColor(0, 255, 0));   // filled with the background
    EXPECT_EQ(target.pixelColor(29, 29), QColor(0, 255, 0));
    EXPECT_EQ(target.pixelColor(30, 30), QColor(Qt::red));    // outside: untouched
    EXPECT_EQ(target.pixelColor(35, 35), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(9, 20), QColor(Qt::red));
}

}  // namespace
