#include "console/slidergeometry.h"

#include <gtest/gtest.h>

using namespace console;

namespace {

TEST(TrackbarGeometry, MapsPositionsAlongTheTravelWithTheMinimumAtTheTop)
{
    const TrackbarGeometry g = trackbarGeometry(QSize(21, 145), true, -60, 60, -20);
    EXPECT_EQ(g.travelStart, 7);
    EXPECT_EQ(g.travelEnd, 137);
    EXPECT_EQ(trackbarPixelOf(g, -60, 60, -60), 7);
    EXPECT_EQ(trackbarPixelOf(g, -60, 60, 60), 137);
    EXPECT_EQ(trackbarPixelOf(g, -60, 60, 0), 72);
    EXPECT_EQ(g.thumb.center().y(), trackbarPixelOf(g, -60, 60, -20));
    EXPECT_GT(g.thumb.width(), g.thumb.height());  // a vertical trackbar's thumb lies across
    for (int v = -60; v <= 60; ++v) {
        SCOPED_TRACE(v);
        ASSERT_EQ(trackbarValueAt(g, -60, 60, trackbarPixelOf(g, -60, 60, v)), v);
    }
    EXPECT_EQ(trackbarValueAt(g, -60, 60, -50), -60);
    EXPECT_EQ(trackbarValueAt(g, -60, 60, 500), 60);

    const TrackbarGeometry h = trackbarGeometry(QSize(145, 21), false, 0, 10, 10);
    EXPECT_EQ(h.thumb.center().x(), 137);
    EXPECT_GT(h.thumb.height(), h.thumb.width());
}

TEST(TrackbarGeometry, ChannelAdjustmentAndSelectionBand)
{
    EXPECT_EQ(adjustedChannel(QRect(7, 2, 6, 141), true, -60, 60), QRect(8, 3, 4, 140));
    EXPECT_EQ(adjustedChannel(QRect(7, 2, 6, 141), true, 0, 0), QRect(8, 2, 4, 142));
    EXPECT_EQ(adjustedChannel(QRect(2, 7, 141, 6), false, 0, 10), QRect(2, 9, 141, 2));
    EXPECT_TRUE(selectionBand(QRect(8, 3, 4, 140), true, 0, 100, 0, 0).isEmpty());
    const QRect band = selectionBand(QRect(8, 0, 4, 100), true, 0, 100, 25, 50);
    EXPECT_EQ(band, QRect(9, 25, 2, 25));
}

}  // namespace
