#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <limits>

#include "app/Pictures.h"
#include "display/NeedleGauge.h"
#include "tests/fakes/Spin.h"

namespace kestrova {
namespace {

TEST(NeedleTip, PointsClockwiseFromTheTopWithLengthFromStrength) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double h = 100 / std::sqrt(2.0);
    const struct {
        double value, strength, radius;
        QPointF tip;
    } rows[] = {
        {0, 1, 100, {0, -100}},   {90, 1, 100, {100, 0}},          {180, 1, 100, {0, 100}},
        {270, 1, 100, {-100, 0}}, {360, 1, 100, {0, -100}},        {-90, 1, 100, {-100, 0}},
        {45, 1, 100, {h, -h}},    {135, 0.5, 100, {h / 2, h / 2}}, {90, 0.25, 80, {20, 0}},
        {90, 0, 100, {0, 0}},     {90, 1.5, 100, {100, 0}},        {90, -0.5, 100, {0, 0}},
        {nan, 1, 100, {0, 0}},    {90, nan, 100, {0, 0}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.value << " deg, strength " << r.strength);
        const QPointF tip = needleTip(r.value, r.strength, r.radius);
        EXPECT_NEAR(tip.x(), r.tip.x(), 1e-9);
        EXPECT_NEAR(tip.y(), r.tip.y(), 1e-9);
    }
}

QImage render(NeedleGauge& g, qreal dpr = 1) {
    QImage img(g.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::magenta);
    g.render(&img);
    return img;
}

// Needle pixels are sought on a blank face so the dial cannot be mistaken for the needle.
class Gauge : public ::testing::Test {
  protected:
    Gauge() {
        g.resize(212, 212);
        g.setNeedleColour(QColor(255, 255, 0));
    }
    QColor at(const QImage& img, double degrees, double fraction) {
        const QPointF p = g.centre() + needleTip(degrees, fraction, g.needleRadius());
        return img.pixelColor(p.toPoint());
    }
    NeedleGauge g;
};

TEST_F(Gauge, DrawsTheNeedleAlongItsValueForItsStrength) {
    const QColor yellow(255, 255, 0);
    const struct {
        double value, strength;
    } rows[] = {{0, 1}, {90, 1}, {180, 1}, {270, 1}, {30, 0.5}, {315, 0.6}};
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.value << " deg, strength " << r.strength);
        g.setNeedleValue(r.value);
        g.setStrength(r.strength);
        const QImage img = render(g);
        // Along the needle up to its length, nothing beyond, nothing the opposite way.
        EXPECT_EQ(at(img, r.value, r.strength * 0.5), yellow);
        EXPECT_EQ(at(img, r.value, r.strength * 0.9), yellow);
        EXPECT_NE(at(img, r.value, r.strength + 0.15), yellow);
        EXPECT_NE(at(img, r.value + 180, r.strength * 0.5), yellow);
        EXPECT_NE(at(img, r.value + 90, r.strength * 0.5), yellow);
    }
}

TEST_F(Gauge, NoStrengthShowsNoNeedleAndTheColourIsTheOneSet) {
    g.setNeedleValue(90);
    g.setStrength(0);
    QImage img = render(g);
    EXPECT_NE(at(img, 90, 0.2), QColor(255, 255, 0));
    g.setStrength(1);
    g.setNeedleColour(QColor(0, 255, 64));
    img = render(g);
    EXPECT_EQ(at(img, 90, 0.5), QColor(0, 255, 64));
}

TEST_F(Gauge, FaceIsDrawnOncePerPixelRatioNotPerNeedleMove) {
    int faces = 0;
    g.setFacePainter([&faces](QPainter&, int) { ++faces; });
    for (int v = 0; v < 360; v += 40) {
        g.setNeedleValue(v);
        render(g);
    }
    EXPECT_EQ(faces, 1);
    render(g, 2.0);
    EXPECT_EQ(faces, 2);
    g.resize(100, 100);
    render(g, 2.0);
    EXPECT_EQ(faces, 3);
}

class CountingGauge : public NeedleGauge {
  public:
    int paints = 0;
    QRect lastArea;

  protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        lastArea = e->rect();
        NeedleGauge::paintEvent(e);
    }
};

TEST(GaugeUpdates, NeedleMovesAreCoalescedIntoOnePaint) {
    CountingGauge g;
    g.resize(212, 212);
    g.show();
    testing::spinFor(100);
    const int before = g.paints;
    g.setNeedleValue(10);
    g.setNeedleValue(20);
    g.setStrength(0.7);
    g.setNeedleColour(Qt::green);
    EXPECT_EQ(g.paints, before);  // nothing painted synchronously
    ASSERT_TRUE(testing::spinUntil([&] { return g.paints > before; }, 1000));
    testing::spinFor(100);
    EXPECT_EQ(g.paints, before + 1);
    EXPECT_LT(g.lastArea.width() * g.lastArea.height(), 212 * 212) << "only the needle's area";
    g.setNeedleValue(20);  // unchanged: no repaint asked for
    testing::spinFor(100);
    EXPECT_EQ(g.paints, before + 1);
}

TEST(GaugeUpdates, AStreamOfMovesIsPaintedAtAFrameRateNotPerMove) {
    CountingGauge g;
    g.resize(212, 212);
    g.show();
    testing::spinFor(100);
    const int before = g.paints;
    // 100 moves over about half a second, as a bearing stream brings them.
    for (int i = 0; i < 100; ++i) {
        g.setStrength(1.0);
        g.setNeedleValue(i * 3.6);
        testing::spinFor(5);
    }
    testing::spinFor(100);
    const int paints = g.paints - before;
    EXPECT_GE(paints, 2);
    EXPECT_LE(paints, 30) << "one paint per frame at most, not one per move";
    EXPECT_DOUBLE_EQ(g.needleValue(), 99 * 3.6);
}

QImage picture(const QPixmap& pm) {
    QImage img = pm.toImage();
    img.setDevicePixelRatio(1);
    return img;
}

TEST(Pictures, HaveTheirSizesAtAnyPixelRatio) {
    using namespace pictures;
    for (qreal dpr : {1.0, 2.0}) {
        SCOPED_TRACE(dpr);
        EXPECT_EQ(gaugeFace(dpr).deviceIndependentSize(), QSizeF(212, 212));
        EXPECT_EQ(meterScales(dpr).deviceIndependentSize(), QSizeF(58, 164));
        EXPECT_EQ(bearingBackground(dpr).deviceIndependentSize(), QSizeF(54, 29));
        EXPECT_EQ(gpsBackground(dpr).deviceIndependentSize(), QSizeF(158, 121));
        EXPECT_EQ(dfOffSign(dpr).deviceIndependentSize(), QSizeF(49, 16));
        EXPECT_EQ(lowBatteryIcon(dpr).deviceIndependentSize(), QSizeF(28, 11));
        EXPECT_EQ(gaugeFace(dpr).size(), QSize(212, 212) * dpr);
    }
}

TEST(Pictures, GaugeFaceHasRedAxisMarksAndAGreenRing) {
    const QImage face = picture(pictures::gaugeFace(1));
    auto isRed = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    auto isGreen = [](QColor c) { return c.green() > 150 && c.red() < 60 && c.blue() < 60; };
    const QPointF c(106, 106);
    for (int deg : {0, 90, 180, 270}) {
        SCOPED_TRACE(deg);
        const QPointF mark = c + needleTip(deg, 1, 96);
        EXPECT_TRUE(isRed(face.pixelColor(mark.toPoint())));
    }
    // On the ring between the marks, e.g. at 45 and 200 degrees.
    for (int deg : {45, 200}) {
        SCOPED_TRACE(deg);
        const QPointF ring = c + needleTip(deg, 1, 101);
        EXPECT_TRUE(isGreen(face.pixelColor(ring.toPoint())));
        EXPECT_FALSE(isRed(face.pixelColor(ring.toPoint())));
    }
    EXPECT_EQ(face.pixelColor(0, 0), QColor(Qt::black));  // outside the disc
}

TEST(Pictures, IconsUseOnlyTheirOwnColourOnBlack) {
    const struct {
        const char* name;
        QImage img;
        QColor colour;
    } rows[] = {
        {"low battery", picture(pictures::lowBatteryIcon(1)), QColor(255, 0, 0)},
        {"DF OFF", picture(pictures::dfOffSign(1)), QColor(255, 255, 0)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        int ink = 0;
        for (int y = 0; y < r.img.height(); ++y) {
            for (int x = 0; x < r.img.width(); ++x) {
                const QColor p = r.img.pixelColor(x, y);
                ink += p == r.colour ? 1 : 0;
                // Anti-aliased edges are shades of the one colour.
                const double k = r.colour.red() ? p.redF() : p.greenF();
                EXPECT_NEAR(p.redF(), r.colour.redF() * k, 0.02);
                EXPECT_NEAR(p.greenF(), r.colour.greenF() * k, 0.02);
                EXPECT_NEAR(p.blueF(), 0, 0.02);
            }
        }
        EXPECT_GT(ink, 20);
    }
}

}  // namespace
}  // namespace kestrova
