#include "console/colorref.h"
#include "console/macsliderctrl.h"
#include "console/resourceids.h"
#include "console/slidergeometry.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace console;

namespace {

class TiltSlider : public testing::Test {
protected:
    void SetUp() override
    {
        slider.setTickPosition(QSlider::TicksBothSides);
        slider.setRange(-60, 60);
        slider.setValue(-20);
        slider.SetPrimaryColor(0x0000FF);
        slider.SetSelectionColor(0x4040FF);
        slider.SetChannelColor(0xC4C4FF);
        slider.resize(21, 145);
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }
    CMacSliderCtrl slider;
};

TEST_F(TiltSlider, PaintsTheThumbInThePrimaryColourOverTheChannel)
{
    const QImage image = slider.grab().toImage();
    const TrackbarGeometry g = slider.trackbarGeometry();
    const QColor red(255, 0, 0), channel(255, 196, 196);
    // The thumb's fill column, found independently: the red rows of it are centred a third of
    // the way down the travel (-20 in -60..60).
    const int column = g.thumb.left() + 2;
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(column, y) == red) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    ASSERT_GE(first, 0);
    const double expected = g.travelStart + (g.travelEnd - g.travelStart) / 3.0;
    EXPECT_NEAR((first + last) / 2.0, expected, 1.0);
    EXPECT_GE(last - first, 5);
    // The channel, well below the thumb, in the channel colour inside its dark frame.
    const int y = trackbarPixelOf(g, -60, 60, 40);
    const int cx = slider.width() / 2;
    EXPECT_EQ(image.pixelColor(cx, y), channel);
    EXPECT_EQ(image.pixelColor(cx - 1, y), channel);
    EXPECT_NE(image.pixelColor(cx - 2, y), channel);
    EXPECT_NE(image.pixelColor(cx + 1, y), channel);
    // Grip lines cross the thumb's middle in the hilite and darker shades.
    const QColor hilite(255, 51, 51), darker(153, 0, 0);
    bool sawHilite = false, sawDarker = false;
    for (int yy = g.thumb.top(); yy <= g.thumb.bottom(); ++yy) {
        sawHilite |= image.pixelColor(g.thumb.center().x(), yy) == hilite;
        sawDarker |= image.pixelColor(g.thumb.center().x(), yy) == darker;
    }
    EXPECT_TRUE(sawHilite);
    EXPECT_TRUE(sawDarker);
}

TEST_F(TiltSlider, DraggingTheThumbReportsEachPositionAndDarkensItWhilePressed)
{
    QSignalSpy spy(&slider, &CMacSliderCtrl::scrolled);
    const TrackbarGeometry g = slider.trackbarGeometry();
    const QPoint start = g.thumb.center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, start);
    const QImage pressed = slider.grab().toImage();
    EXPECT_EQ(pressed.pixelColor(g.thumb.left() + 2, start.y()), QColor(204, 0, 0));
    QTest::mouseMove(&slider, QPoint(start.x(), trackbarPixelOf(g, -60, 60, 5)));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(start.x(), trackbarPixelOf(g, -60, 60, 5)));
    EXPECT_EQ(slider.value(), 5);
    ASSERT_GE(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toInt(), tb::THUMBTRACK);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 5);
    EXPECT_EQ(spy.at(spy.count() - 1).at(0).toInt(), tb::ENDTRACK);
    EXPECT_EQ(slider.GetPrimaryColor(), 0x0000FFu);
    const QImage released = slider.grab().toImage();
    EXPECT_EQ(released.pixelColor(g.thumb.left() + 2, trackbarPixelOf(g, -60, 60, 5)),
              QColor(255, 0, 0));
}

TEST_F(TiltSlider, KeysAndPagesMoveTowardsTheMinimumAtTheTop)
{
    QSignalSpy spy(&slider, &CMacSliderCtrl::scrolled);
    struct Row {
        Qt::Key key;
        int code;
        int value;
    };
    const Row rows[] = {
        {Qt::Key_Up, tb::LINEUP, -21},     {Qt::Key_Down, tb::LINEDOWN, -20},
        {Qt::Key_PageDown, tb::PAGEDOWN, -10}, {Qt::Key_Home, tb::TOP, -60},
        {Qt::Key_Up, tb::LINEUP, -60},     {Qt::Key_End, tb::BOTTOM, 60},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        spy.clear();
        QTest::keyClick(&slider, row.key);
        EXPECT_EQ(slider.value(), row.value);
        ASSERT_EQ(spy.count(), 2);
        EXPECT_EQ(spy.at(0).at(0).toInt(), row.code);
        EXPECT_EQ(spy.at(1).at(0).toInt(), tb::ENDTRACK);
    }
    // A click on the channel above the thumb pages up.
    spy.clear();
    const TrackbarGeometry g = slider.trackbarGeometry();
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(g.thumb.center().x(), 20));
    EXPECT_EQ(slider.value(), 50);
    EXPECT_EQ(spy.at(0).at(0).toInt(), tb::PAGEUP);
    // Setting the position from code reports nothing.
    spy.clear();
    slider.setValue(0);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(TiltSlider, WithoutBothSidesTheThumbPointsAwayFromTheTicks)
{
    struct Row {
        QSlider::TickPosition ticks;
        bool tipRight;
    };
    const Row rows[] = {{QSlider::NoTicks, true}, {QSlider::TicksBelow, true}, {QSlider::TicksAbove, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ticks);
        slider.setTickPosition(row.ticks);
        const QImage image = slider.grab().toImage();
        const QRect t = slider.trackbarGeometry().thumb;
        const int tipX = row.tipRight ? t.right() : t.left();
        const int backX = row.tipRight ? t.left() : t.right();
        const QColor face = slider.palette().color(QPalette::Button);
        // The tip's corners are cut away; the back's corners are not.
        EXPECT_EQ(image.pixelColor(tipX, t.top()), face);
        EXPECT_EQ(image.pixelColor(tipX, t.bottom()), face);
        EXPECT_NE(image.pixelColor(tipX, t.center().y()), face);
        EXPECT_NE(image.pixelColor(backX, t.top()), face);
        // Filled with the primary colour inside.
        EXPECT_EQ(image.pixelColor(t.center().x() + (row.tipRight ? -3 : 3), t.center().y() - 2),
                  QColor(255, 0, 0));
    }
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

}  // namespace
