#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <limits>
#include <tuple>

#include "widgets/NeedleGauge.h"

namespace kestrova {
namespace {

TEST(NeedleTip, PointsClockwiseFromTheTopWithLengthFromStrength) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double h = 100 / std::sqrt(2.0);
    const std::tuple<double, double, double, QPointF> rows[] = {
        {0, 1, 100, {0, -100}},   {90, 1, 100, {100, 0}},          {180, 1, 100, {0, 100}},
        {270, 1, 100, {-100, 0}}, {90, nan, 100, {0, 0}},          {90, 0.25, 80, {20, 0}},
        {45, 1, 100, {h, -h}},    {135, 0.5, 100, {h / 2, h / 2}}, {90, 0, 100, {0, 0}},
        {90, 1.5, 100, {100, 0}}, {90, -0.5, 100, {0, 0}},         {nan, 1, 100, {0, 0}},
    };
    for (const auto& [value, strength, radius, expected] : rows) {
        SCOPED_TRACE(::testing::Message() << value << " deg, strength " << strength);
        const QPointF tip = needleTip(value, strength, radius);
        EXPECT_NEAR(tip.x(), expected.x(), 1e-9);
        EXPECT_NEAR(tip.y(), expected.y(), 1e-9);
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
struct Gauge : ::testing::Test {
    Gauge() { g.resize(212, 212); }
    QColor at(const QImage& img, double degrees, double fraction) {
        const QPointF p = g.centre() + needleTip(degrees, fraction, g.needleRadius());
        return img.pixelColor(p.toPoint());
    }
    NeedleGauge g;
};

TEST_F(Gauge, DrawsTheNeedleAlongItsValueForItsStrengthInItsColour) {
    const QColor yellow(255, 255, 0), green(0, 255, 64);
    const std::tuple<double, double, QColor> rows[] = {
        {0, 1, yellow},   {90, 1, green},    {180, 1, yellow},
        {270, 1, yellow}, {30, 0.5, yellow}, {315, 0.6, green},
    };
    for (const auto& [value, strength, colour] : rows) {
        SCOPED_TRACE(::testing::Message() << value << " deg, strength " << strength);
        g.setNeedleValue(value);
        g.setStrength(strength);
        g.setNeedleColour(colour);
        const QImage img = render(g);
        // Along the needle up to its length, nothing beyond, nothing the opposite way.
        EXPECT_EQ(at(img, value, strength * 0.5), colour);
        EXPECT_EQ(at(img, value, strength * 0.9), colour);
        EXPECT_NE(at(img, value, strength + 0.15), colour);
        EXPECT_NE(at(img, value + 180, strength * 0.5), colour);
        EXPECT_NE(at(img, value + 90, strength * 0.5), colour);
    }
    g.setNeedleValue(90);
    g.setStrength(0);  // no strength, no needle
    EXPECT_NE(at(render(g), 90, 0.2), green);
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

}  // namespace
}  // namespace kestrova
