#include "console/dialogunits.h"
#include "console/knobgeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace console;

namespace {

TEST(KnobGeometry, LayoutOfA160By140ControlIsTheLeftSquare)
{
    const KnobLayout layout = layoutKnob(QSize(160, 140), 8);
    EXPECT_EQ(layout.square, QRect(0, 0, 140, 140));
    EXPECT_EQ(layout.center, QPoint(70, 70));
    EXPECT_EQ(layout.radius, 61);
    // A tall control keeps the square at the top.
    const KnobLayout tall = layoutKnob(QSize(90, 200), 8);
    EXPECT_EQ(tall.square, QRect(0, 0, 90, 90));
    EXPECT_EQ(tall.center, QPoint(45, 45));
    EXPECT_EQ(tall.radius, 36);
}

TEST(KnobGeometry, ZonesAreStrictAtThirtyAndFortyFivePixels)
{
    const QPoint c(70, 70);
    struct Row {
        QPoint p;
        KnobZone zone;
    };
    const Row rows[] = {
        {{70, 70}, KnobZone::Centre},  {{99, 70}, KnobZone::Centre},
        {{100, 70}, KnobZone::Inner},  {{70, 40}, KnobZone::Inner},
        {{91, 91}, KnobZone::Centre},  {{92, 92}, KnobZone::Inner},
        {{114, 70}, KnobZone::Inner},  {{115, 70}, KnobZone::Rim},
        {{70, 25}, KnobZone::Rim},     {{0, 0}, KnobZone::Rim},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QString("(%1,%2)").arg(row.p.x()).arg(row.p.y()).toStdString());
        EXPECT_EQ(knobZone(row.p, c, 61), row.zone);
    }
}

TEST(KnobGeometry, PointToValueGivesWholeDegreesClockwiseFromTheTop)
{
    const QPoint c(70, 70);
    struct Row {
        QPoint p;
        int value;
    };
    const Row rows[] = {
        {{70, 9}, 0},    {{131, 70}, 90}, {{70, 131}, 180}, {{9, 70}, 270},
        {{113, 27}, 45}, {{70, 70}, 180}, {{27, 27}, 315},  {{113, 113}, 135},
        {{69, 9}, 359},  {{71, 9}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QString("(%1,%2)").arg(row.p.x()).arg(row.p.y()).toStdString());
        EXPECT_EQ(PointToValue(row.p, 0, 359, c), row.value);
    }
    // Another range scales the same angle.
    EXPECT_EQ(PointToValue({131, 70}, 100, 139, c), 110);
}

TEST(KnobGeometry, ValueToPointPutsValuesOnTheRimClockwise)
{
    const QPoint c(70, 70);
    struct Row {
        int value;
        QPoint p;
    };
    const Row rows[] = {
        {90, {131, 70}}, {0, {70, 9}}, {180, {70, 131}}, {270, {9, 70}},
        {45, {113, 26}},  // sin and cos of 45 degrees times 61, truncated
        {360, {70, 9}},   // past the range wraps round
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(ValueToPoint(row.value, 0, 359, c, 61), row.p);
    }
}

TEST(KnobGeometry, NearestDetentUsesPlainDifferencesAndKeepsTheLowerIndexOnTies)
{
    const int detents[] = {10, 350, 30};
    struct Row {
        int value;
        int count;
        int index;
    };
    const Row rows[] = {
        {340, 3, 1}, {20, 3, 0}, {359, 3, 1}, {0, 3, 0}, {29, 3, 2}, {350, 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(FindNearestDetent(detents, row.count, row.value), row.index);
    }
}

TEST(KnobGeometry, PixelLineStepsAlongTheLongerAxisWithATruncatedSlope)
{
    using Points = std::vector<QPoint>;
    EXPECT_EQ(pixelLine({3, 5}, {0, 5}), (Points{{3, 5}, {2, 5}, {1, 5}, {0, 5}}));
    EXPECT_EQ(pixelLine({0, 0}, {3, 3}), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(pixelLine({0, 0}, {2, -2}), (Points{{0, 0}, {1, -1}, {2, -2}}));
    // A slope below one truncates to zero: the line stays on the first end's row or column.
    EXPECT_EQ(pixelLine({10, 10}, {12, 13}), (Points{{10, 10}, {10, 11}, {10, 12}, {10, 13}}));
    EXPECT_EQ(pixelLine({0, 0}, {3, 1}), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(pixelLine({4, 4}, {4, 4}), (Points{{4, 4}}));
}

TEST(KnobGeometry, ShadedCircleIsLitFromTheUpperLeft)
{
    const COLORREF black = 0x000000, white = 0xFFFFFF;
    const QPoint c(100, 100);
    const auto pixels = shadedCircle(c, 40, black, white);
    auto colourAt = [&pixels](QPoint p) {
        COLORREF found = 0xFF000000;  // no such pixel
        for (const PixelPoint& px : pixels)
            if (px.at == p)
                found = px.color;  // the last segment drawn wins
        return found;
    };
    // 40 * cos 45 degrees = 28.28: the diagonal pixels of the ring.
    EXPECT_LE(redOf(colourAt({72, 72})), 1);
    EXPECT_GE(redOf(colourAt({128, 128})), 254);
    EXPECT_LE(colourAt({128, 128}), 0xFFFFFFu);
    // Top and bottom lie between, the top nearer the lit side.
    const int top = redOf(colourAt({100, 60}));
    EXPECT_GT(top, 20);
    EXPECT_LT(top, 60);
    for (const PixelPoint& px : pixels) {
        const double d = std::hypot(px.at.x() - c.x(), px.at.y() - c.y());
        ASSERT_GE(d, 38.5);
        ASSERT_LE(d, 40.0);
    }
}

TEST(KnobGeometry, DottedCircleHasOnePixelPerDegree)
{
    const auto points = dottedCircle({50, 50}, 4);
    ASSERT_EQ(points.size(), 360u);
    EXPECT_EQ(points[0], QPoint(54, 50));
    EXPECT_EQ(points[90], QPoint(50, 54));
    EXPECT_EQ(points[180], QPoint(46, 50));
    EXPECT_EQ(points[270], QPoint(50, 46));
}

}  // namespace
