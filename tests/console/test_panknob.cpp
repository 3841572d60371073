#include "console/kbutsliderctrl.h"
#include "console/knobface.h"
#include "console/resourceids.h"
#include "stateblock/stateblock.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

using namespace console;

namespace {

// Distinct, known 3D colours so painted pixels can be told apart.
QPalette knobPalette()
{
    QPalette p;
    p.setColor(QPalette::Button, QColor(200, 200, 200));    // face
    p.setColor(QPalette::Dark, QColor(100, 100, 100));      // shadow
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));          // dark shadow
    p.setColor(QPalette::Light, QColor(255, 255, 255));     // highlight
    p.setColor(QPalette::Midlight, QColor(230, 230, 230));  // light
    p.setColor(QPalette::ButtonText, QColor(0, 0, 0));
    return p;
}

// Records the scroll notifications of the knob that it holds.
class Parent : public QWidget {
public:
    std::vector<int> codes;
    void watch(KbutsliderCtrl& knob)
    {
        connect(&knob, &KbutsliderCtrl::scrolled, this, [this](int code, int) { codes.push_back(code); });
    }
};

class CentreKnob : public KbutsliderCtrl {
public:
    using KbutsliderCtrl::KbutsliderCtrl;
    std::vector<std::pair<char, int>> calls;  // 'd'own / 'u'p with the frame

protected:
    void OnCenterButtonDown(Qt::KeyboardModifiers, int frame) override { calls.push_back({'d', frame}); }
    void OnCenterButtonUp(Qt::KeyboardModifiers, int frame) override { calls.push_back({'u', frame}); }
};

class PanKnob : public testing::Test {
protected:
    void SetUp() override
    {
        stateBlock.panDegrees = -1;
        parent.resize(200, 160);
        knob = new CentreKnob(&parent);
        parent.watch(*knob);
        knob->setPalette(knobPalette());
        knob->setGeometry(0, 0, 160, 140);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        QApplication::processEvents();
    }

    QColor pixel(QPoint p) { return knob->grab().toImage().pixelColor(p); }

    void drag(const std::vector<QPoint>& path)
    {
        QTest::mousePress(knob, Qt::LeftButton, {}, path.front());
        for (std::size_t i = 1; i < path.size(); ++i)
            QTest::mouseMove(knob, path[i]);
        QTest::mouseRelease(knob, Qt::LeftButton, {}, path.back());
    }

    Parent parent;
    CentreKnob* knob = nullptr;
};

bool near(const QColor& a, const QColor& b, int tolerance = 1)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST_F(PanKnob, LaysOutAsACircleInTheLeftSquare)
{
    EXPECT_EQ(knob->center(), QPoint(70, 70));
    EXPECT_EQ(knob->radius(), 61);
    EXPECT_EQ(knob->mask().boundingRect(), QRect(0, 0, 140, 140));
    EXPECT_FALSE(knob->mask().contains(QPoint(2, 2)));
    EXPECT_EQ(knob->minimum(), 0);
    EXPECT_EQ(knob->maximum(), 359);
    // The first paint publishes the detent value.
    EXPECT_EQ(stateBlock.panDegrees, 0);
    knob->resize(100, 120);
    EXPECT_EQ(knob->center(), QPoint(50, 50));
    EXPECT_EQ(knob->radius(), 41);
}

TEST_F(PanKnob, DragFromTopToRightEdgeShowsNinety)
{
    drag({{70, 9}, {90, 12}, {113, 27}, {128, 50}, {131, 70}});
    EXPECT_EQ(knob->GetDetentValue(0), 90);
    EXPECT_EQ(knob->valueText(), QStringLiteral("Pan in Deg: 90"));
    EXPECT_EQ(stateBlock.panDegrees, 90);
    EXPECT_FALSE(knob->isDragging());
    // The trackbar's own position is not the knob's value.
    EXPECT_EQ(knob->value(), 0);
    QApplication::processEvents();
    ASSERT_GE(parent.codes.size(), 3u);
    for (int code : parent.codes)
        EXPECT_EQ(code, tb::THUMBTRACK);
}

TEST_F(PanKnob, PressAndReleaseWithoutMovingOrDraggingInsideChangeNothing)
{
    struct Row {
        const char* name;
        std::vector<QPoint> path;
    };
    const Row rows[] = {
        {"press at the rim, no move", {{131, 70}}},
        {"press on the dot, no move", {{70, 9}}},
        {"inner zone only", {{100, 70}, {105, 80}, {70, 110}, {40, 75}, {70, 35}}},
        {"centre then inner", {{70, 70}, {100, 75}, {70, 105}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        knob->SetDetentValue(0, 0);
        stateBlock.panDegrees = -1;
        drag(row.path);
        EXPECT_EQ(knob->GetDetentValue(0), 0);
        EXPECT_EQ(stateBlock.panDegrees, 0);
    }
}

TEST_F(PanKnob, SetDetentValueReducesIndexAndValue)
{
    knob->SetDetentValue(0, 370);
    EXPECT_EQ(knob->GetDetentValue(0), 10);
    EXPECT_EQ(stateBlock.panDegrees, 10);  // visible: redrawn at once
    knob->SetDetentValue(17, 5);
    EXPECT_EQ(knob->GetDetentValue(1), 5);
    EXPECT_EQ(knob->GetDetentValue(0), 10);
    knob->SetDetentValue(0, 720);
    EXPECT_EQ(knob->GetDetentValue(0), 0);
    // A negative index stays inside the table.
    knob->SetDetentValue(-1, 33);
    EXPECT_EQ(knob->GetDetentValue(15), 33);
    EXPECT_EQ(knob->GetDetentValue(0), 0);
}

TEST_F(PanKnob, CentreButtonPressesAndReleasesWithItsFrame)
{
    QTest::mouseMove(knob, {75, 72});
    EXPECT_EQ(knob->frame(), 1);  // pointer over the centre
    QTest::mousePress(knob, Qt::LeftButton, {}, {70, 70});
    EXPECT_EQ(knob->pushState(), 1);
    EXPECT_EQ(knob->frame(), 2);
    QTest::mouseRelease(knob, Qt::LeftButton, {}, {72, 70});
    EXPECT_EQ(knob->pushState(), 0);
    ASSERT_EQ(knob->calls.size(), 2u);
    EXPECT_EQ(knob->calls[0], std::make_pair('d', 2));
    EXPECT_EQ(knob->calls[1].first, 'u');
    // A release outside the centre leaves the button held.
    QTest::mousePress(knob, Qt::LeftButton, {}, {70, 70});
    QTest::mouseRelease(knob, Qt::LeftButton, {}, {70, 110});
    EXPECT_EQ(knob->pushState(), 1);
    EXPECT_EQ(knob->calls.size(), 3u);
}

TEST_F(PanKnob, PaintsSunkenOuterAndRaisedInnerRings)
{
    const QImage image = knob->grab().toImage();
    // Diagonal pixels of the rings at R, R-1, R-3, R-4 (61, 60, 58, 57): 43, 42, 41, 40 px out.
    struct Row {
        int offset;
        QColor upperLeft;
        QColor lowerRight;
    };
    const Row rows[] = {
        {43, QColor(0, 0, 0), QColor(255, 255, 255)},        // dark shadow / highlight
        {42, QColor(100, 100, 100), QColor(230, 230, 230)},  // shadow / light
        {41, QColor(255, 255, 255), QColor(0, 0, 0)},        // highlight / dark shadow
        {40, QColor(230, 230, 230), QColor(100, 100, 100)},  // light / shadow
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.offset);
        const QColor ul = image.pixelColor(70 - row.offset, 70 - row.offset);
        const QColor lr = image.pixelColor(70 + row.offset, 70 + row.offset);
        EXPECT_TRUE(near(ul, row.upperLeft)) << ul.name().toStdString();
        EXPECT_TRUE(near(lr, row.lowerRight)) << lr.name().toStdString();
    }
    // Between the rings and outside them: the face colour.
    EXPECT_EQ(image.pixelColor(70, 70 - 46), QColor(200, 200, 200));
    EXPECT_EQ(image.pixelColor(5, 70), QColor(200, 200, 200));
}

TEST_F(PanKnob, PaintsTheDetentDotAtItsValue)
{
    const QColor face(200, 200, 200);
    // At 0 the dot sits at the top; the right edge shows the ring.
    QImage image = knob->grab().toImage();
    EXPECT_EQ(image.pixelColor(70, 9), face);
    EXPECT_NE(image.pixelColor(131, 70), face);

    knob->SetDetentValue(0, 90);
    image = knob->grab().toImage();
    EXPECT_EQ(image.pixelColor(131, 70), face);
    EXPECT_NE(image.pixelColor(70, 9), face);
    // Raised when idle: the inner ring (radius 6) light at its upper left, shadow at its lower
    // right; sunken while dragged.
    EXPECT_TRUE(near(image.pixelColor(131 - 4, 70 - 4), QColor(230, 230, 230)));
    EXPECT_TRUE(near(image.pixelColor(131 + 4, 70 + 4), QColor(100, 100, 100)));
    QTest::mousePress(knob, Qt::LeftButton, {}, {131, 70});
    image = knob->grab().toImage();
    EXPECT_TRUE(near(image.pixelColor(131 - 4, 70 - 4), QColor(100, 100, 100)));
    EXPECT_TRUE(near(image.pixelColor(131 + 4, 70 + 4), QColor(230, 230, 230)));
    QTest::mouseRelease(knob, Qt::LeftButton, {}, {131, 70});
    EXPECT_EQ(knob->GetDetentValue(0), 90);
}

TEST_F(PanKnob, FocusMarksTheCurrentDetentWithDottedCircles)
{
    knob->SetDetentValue(0, 90);
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    knob->clearFocus();
    ASSERT_FALSE(knob->hasFocus());
    EXPECT_EQ(knob->grab().toImage().pixelColor(131, 70 + 4), QColor(200, 200, 200));
    knob->setFocus();
    ASSERT_TRUE(knob->hasFocus());
    const QImage image = knob->grab().toImage();
    EXPECT_EQ(image.pixelColor(131, 70 + 4), QColor(0, 0, 0));  // radius 4
    EXPECT_EQ(image.pixelColor(131 + 2, 70), QColor(0, 0, 0));  // radius 2: current detent
    EXPECT_EQ(image.pixelColor(131, 70), QColor(200, 200, 200));
}

TEST_F(PanKnob, FaceShowsTheCellOfItsFrame)
{
    const QImage strip = makeKnobFaceStrip(systemColors(knobPalette()));
    ASSERT_EQ(strip.size(), QSize(120, 40));
    const QImage cells[] = {strip.copy(0, 0, 40, 40), strip.copy(40, 0, 40, 40), strip.copy(80, 0, 40, 40)};
    EXPECT_NE(cells[0], cells[1]);
    EXPECT_NE(cells[0], cells[2]);
    EXPECT_NE(cells[1], cells[2]);
    // The painted centre square is the cell of the current frame: normal, then pressed.
    auto face = [this] { return knob->grab().toImage().copy(50, 50, 40, 40); };
    const QImage idle = face();
    EXPECT_EQ(idle.pixelColor(8, 8), cells[0].pixelColor(8, 8));
    QTest::mousePress(knob, Qt::LeftButton, {}, {70, 70});
    const QImage pressed = face();
    EXPECT_EQ(pressed.pixelColor(8, 8), cells[2].pixelColor(8, 8));
    EXPECT_NE(pressed.pixelColor(8, 8), idle.pixelColor(8, 8));
    QTest::mouseRelease(knob, Qt::LeftButton, {}, {70, 70});
}

TEST_F(PanKnob, DisabledKnobEmbossesItsTextInTheSameRingColours)
{
    // The text's left part, outside the face cell.
    auto textColours = [this] {
        const QImage image = knob->grab().toImage();
        std::set<QRgb> colours;
        for (int y = 60; y <= 80; ++y)
            for (int x = 22; x < 49; ++x)
                colours.insert(image.pixel(x, y));
        return colours;
    };
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), shadow = qRgb(100, 100, 100);
    const auto enabled = textColours();
    EXPECT_TRUE(enabled.count(black));
    knob->setEnabled(false);
    const auto disabled = textColours();
    EXPECT_FALSE(disabled.count(black));
    EXPECT_TRUE(disabled.count(white));
    EXPECT_TRUE(disabled.count(shadow));
    // The rings keep the desktop's colours.
    EXPECT_TRUE(near(knob->grab().toImage().pixelColor(70 - 43, 70 - 43), QColor(0, 0, 0)));
}

}  // namespace
