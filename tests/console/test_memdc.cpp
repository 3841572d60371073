#include "console/memdc.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

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
