// The view options on rendered pixels: bearing marks on the dial, the night palette, the
// scale; and the status line's messages.

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <filesystem>
#include <functional>

#include "app/Look.h"
#include "app/frmKestrova.h"
#include "display/NeedleGauge.h"
#include "settings/QtMessageBoxes.h"
#include "tests/fakes/Spin.h"

namespace kestrova {
namespace {

// How many pixels of img (the same pixel of other, when given) `pick` picks.
int count(const QImage& img, const std::function<bool(QColor, QColor)>& pick,
          const QImage& other = {}) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            n += pick(img.pixelColor(x, y), other.isNull() ? QColor() : other.pixelColor(x, y));
        }
    }
    return n;
}
// Pixels the night must not have, and the red it shows everything in.
int bright(const QImage& img) {
    return count(img, [](QColor c, QColor) {
        return c.green() > kNightCeiling || c.blue() > kNightCeiling;
    });
}
int red(const QImage& img) {
    return count(img, [](QColor c, QColor) { return c.red() > 100; });
}

QSize labelPixmapSize(const frmKestrova& w, El e) {
    return qobject_cast<QLabel*>(w.element(e))->pixmap().size();
}

// Everything that can show lit at once, as the logic would draw it.
void lightEverything(frmKestrova& w) {
    const auto assets = std::filesystem::path(__FILE__).parent_path() / "../../assets";
    ASSERT_TRUE(w.loadPicture(El::Banner_AntOrientation, (assets / "Ant-AIR-Win32.bmp").string()));
    w.setHistoryLength(8);
    for (const char* r : {"010 ", "020.", "035 ", "050 ", "090.", "200 ", "210 ", "222."}) {
        w.setText(El::DOA, r);
    }
    w.setText(El::Textbox2, "Pkt Corr");
    w.setText(El::StatusDisp, "14:03:07> COM port error.");
    w.setVisible(El::FrameDFOff, true);
    w.setVisible(El::BatteryMeter, true);
    w.setLine(El::SMeter, 250, 2200 - 15 * 142, 250, 2200, kRed);
    w.setLine(El::TMeter, 600, 2200 - 15 * 69, 600, 2200 - 15 * 73, kYellow);
    w.setNeedleValue(222);
    w.setNeedleStrength(1);
    w.setNeedleColour(kNeedleGreen);
}

TEST(NightPalette, NoPixelOfTheWindowItsListOrItsBoxesIsGreenOrBlue) {
    frmKestrova w;
    lightEverything(w);
    ASSERT_GT(bright(w.grab().toImage()), 10000) << "by day the window is colourful";
    w.applyPalette(Palette::Night);
    const QImage night = w.grab().toImage();
    EXPECT_EQ(bright(night), 0);
    EXPECT_GT(red(night), 4000) << "and at night it still shows everything";

    QListWidget* list = w.showStatusMessages(QPoint(100, 100));
    EXPECT_EQ(bright(list->grab().toImage()), 0);
    list->hide();

    QtMessageBoxes boxes(&w);
    boxes.applyPalette(Palette::Night);
    for (BoxIcon icon : {BoxIcon::Critical, BoxIcon::Exclamation, BoxIcon::Information}) {
        QImage shot;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&shot] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                shot = box->grab().toImage();
                box->close();
            }
        });
        poll.start(20);
        boxes.show("Could not find any available serial ports.", "Kestrova", icon);
        ASSERT_FALSE(shot.isNull());
        EXPECT_EQ(bright(shot), 0) << static_cast<int>(icon);
        EXPECT_GT(red(shot), 100) << static_cast<int>(icon);
    }
}

// The night is a look, not a state: back to day the window is as if never switched, and each
// palette's dial is drawn once.
TEST(NightPalette, BackToDayIsAsBeforeAndEachDialIsDrawnOnce) {
    frmKestrova plain, w;
    lightEverything(plain);
    lightEverything(w);
    const QImage day = plain.grab().toImage();
    EXPECT_EQ(w.gauge()->faceRenderCount(), 0);
    w.grab();
    w.applyPalette(Palette::Night);
    w.grab();
    w.applyPalette(Palette::Day);
    EXPECT_EQ(w.grab().toImage(), day);
    w.applyPalette(Palette::Night);
    w.grab();
    EXPECT_EQ(w.gauge()->faceRenderCount(), 2);
}

struct History : ::testing::Test {
    History() { w.setHistoryLength(3); }
    // Blue of the dial's rim at `degrees`, where a mark's tip lies over the red axis marks.
    int blueAt(double degrees) {
        NeedleGauge& g = *w.gauge();
        const QImage img = g.grab().toImage();
        const QPointF p = g.centre() + needleTip(degrees, 1, g.width() / 2.0 * 95 / 106);
        return img.pixelColor(p.toPoint()).blue();
    }
    frmKestrova w;
};

// Marks fade with age, a blank readout adds none and drops none, the oldest goes when the
// history is full, and a stop drops them all.
TEST_F(History, MarksFadeAndGoOnTheRim) {
    for (const char* r : {"090 ", "180 ", " - - -", "270 "}) {
        w.setText(El::DOA, r);
    }
    EXPECT_GT(blueAt(270), blueAt(180));
    EXPECT_GT(blueAt(180), blueAt(90));
    EXPECT_GT(blueAt(90), 40);
    EXPECT_EQ(blueAt(0), 0);
    w.setText(El::DOA, "000 ");
    EXPECT_EQ(blueAt(90), 0) << "pushed out by the fourth";
    EXPECT_GT(blueAt(0), blueAt(270));
    w.bearingsStopped();
    for (double d : {0, 90, 180, 270}) {
        EXPECT_EQ(blueAt(d), 0) << d;
    }
}

// Marks are drawn into the cached dial when they change, not on a needle move.
TEST_F(History, NeedleMovesRepaintFromTheCachedDial) {
    NeedleGauge& g = *w.gauge();
    w.setText(El::DOA, "090 ");
    g.grab();
    const int faces = g.faceRenderCount(), overlays = g.overlayRenderCount();
    w.setNeedleStrength(1);
    for (int v = 0; v < 360; v += 30) {
        w.setNeedleValue(v);
        g.grab();
    }
    EXPECT_EQ(g.overlayRenderCount(), overlays);
    w.setText(El::DOA, "100 ");
    g.grab();
    EXPECT_EQ(g.overlayRenderCount(), overlays + 1);
    EXPECT_EQ(g.faceRenderCount(), faces);
}

// Scaled, the window is drawn at its size, as sharp as the same window on a screen with that
// many device pixels to a logical one.
TEST(Scale, TheWholeWindowIsDrawnAtItsSize) {
    for (double f : {2.0, 1.5, 3.0}) {
        SCOPED_TRACE(f);
        frmKestrova plain, w;
        lightEverything(plain);
        lightEverything(w);
        w.setScale(f);
        const QSize size(std::lround(490 * f), std::lround(226 * f));
        EXPECT_EQ(w.size(), size);
        EXPECT_EQ(w.gauge()->size(), QSize(std::lround(212 * f), std::lround(212 * f)));
        EXPECT_DOUBLE_EQ(w.element(El::DOA)->font().pointSizeF(), 11.25 * f);

        // Pictures drawn with a device pixel for each pixel shown, not stretched.
        for (El e : {El::ImageBackgroundMeters, El::Banner_DF_Off, El::ImageGPSBackground}) {
            const QSize shown = w.element(e)->size(), drawn = labelPixmapSize(w, e);
            EXPECT_LE(
                std::abs(shown.width() - drawn.width()) + std::abs(shown.height() - drawn.height()),
                2)
                << elementName(e);
        }
        // Laid out as the same window on a screen with f device pixels to a pixel: only
        // edges of text placed half a pixel apart differ.
        QImage dense(size, QImage::Format_ARGB32_Premultiplied);
        dense.setDevicePixelRatio(f);
        dense.fill(Qt::black);
        plain.render(&dense);
        const int apart = count(
            w.grab().toImage(),
            [](QColor p, QColor q) {
                return std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                           std::abs(p.blue() - q.blue()) >
                       60;
            },
            dense);
        EXPECT_LT(apart, size.width() * size.height() * 6 / 100);
    }
}

// The panel of the DF OFF sign is black wherever the sign leaves it, not the dial beneath.
TEST(Polish, TheDfOffPanelIsBlackBelowItsSign) {
    frmKestrova w;
    w.setVisible(El::FrameDFOff, true);
    const QImage img = w.grab().toImage();
    const QRect panel = w.element(El::FrameDFOff)->geometry();
    const int signBottom = panel.top() + w.element(El::Banner_DF_Off)->height();
    int lit = 0;
    for (int y = signBottom; y <= panel.bottom(); ++y) {
        for (int x = panel.left(); x <= panel.right(); ++x) {
            lit += img.pixelColor(x, y) == QColor(Qt::black) ? 0 : 1;
        }
    }
    EXPECT_EQ(lit, 0);
}

// On a screen at a fractional ratio, as the test command runs it under Xvfb with
// QT_SCALE_FACTOR=1.5: hiding the battery icon, which lies over the dial, leaves none of its
// red behind. Skipped on the offscreen platform, whose windows have no device pixels of their
// own.
TEST(OnScreen, HidingTheBatteryIconLeavesNothingBehind) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X screen";
    }
    frmKestrova w;
    w.show();
    ASSERT_TRUE(
        testing::spinUntil([&] { return w.windowHandle() && w.windowHandle()->isExposed(); }));
    const QRect icon = w.element(El::BatteryMeter)->geometry().adjusted(-2, -2, 2, 2);
    auto redLeft = [&] {
        testing::spinFor(200);
        const QImage img = w.screen()->grabWindow(w.winId()).toImage();
        const qreal dpr = img.devicePixelRatio();
        const QRectF area(QPointF(icon.topLeft()) * dpr, QSizeF(icon.size()) * dpr);
        return count(img.copy(area.toAlignedRect()),
                     [](QColor c, QColor) { return c.red() > 128 && c.green() < 64; });
    };
    w.setVisible(El::BatteryMeter, true);
    ASSERT_GT(redLeft(), 50);
    w.setVisible(El::BatteryMeter, false);
    EXPECT_EQ(redLeft(), 0);
}

// On a screen at a fractional ratio: the S-meter's bar falling from near the top of its
// scale leaves none of its yellow above its new top.
TEST(OnScreen, AFallingMeterBarLeavesNothingBehind) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X screen";
    }
    frmKestrova w;
    w.show();
    ASSERT_TRUE(
        testing::spinUntil([&] { return w.windowHandle() && w.windowHandle()->isExposed(); }));
    const double p = w.twipsPerPixelY();
    auto bar = [&](int pixels) {
        w.setLine(El::SMeter, 250, 2200, 250, 2200 - static_cast<int>(std::lround(p * pixels)),
                  kYellow);
    };
    // The bar's column from the top of the scale down to 12 pixels above the baseline.
    const QPoint base = w.element(El::FrameMeters)
                            ->mapTo(&w, QPoint(static_cast<int>(std::lround(250 / p)),
                                               static_cast<int>(std::lround(2200 / p))));
    auto yellowAbove12 = [&] {
        testing::spinFor(200);
        const QImage img = w.screen()->grabWindow(w.winId()).toImage();
        const qreal dpr = img.devicePixelRatio();
        const QRectF column(QPointF(base.x() - 3, base.y() - 150) * dpr, QSizeF(7, 138) * dpr);
        return count(img.copy(column.toAlignedRect()), [](QColor c, QColor) {
            return c.red() > 200 && c.green() > 200 && c.blue() < 80;
        });
    };
    bar(140);
    ASSERT_GT(yellowAbove12(), 100);
    bar(10);
    EXPECT_EQ(yellowAbove12(), 0);
}

// Counts the paints a widget gets.
struct Paints : QObject {
    int n = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        n += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// A bearing stream moves the needle and the meters a hundred times a second: the window is
// painted at the needle's frame rate, and what it shows in the end is what a fresh paint of
// the whole window shows, with nothing left of the moves between.
TEST(Frames, AStreamOfChangesIsPaintedAtTheFrameRateAndLeavesNothingStale) {
    frmKestrova w;
    w.show();
    ASSERT_TRUE(
        testing::spinUntil([&] { return w.windowHandle() && w.windowHandle()->isExposed(); }));
    testing::spinFor(100);
    Paints gauge, meter;
    w.element(El::anggBrgDisplay)->installEventFilter(&gauge);
    w.element(El::SMeter)->installEventFilter(&meter);
    QElapsedTimer took;
    took.start();
    for (int i = 0; i < 100; ++i) {
        w.setNeedleStrength(0.3 + (i % 7) * 0.1);
        w.setNeedleValue(i * 37 % 360);
        const int bar = i * 53 % 140;
        w.setLine(El::SMeter, 250, 2200, 250, 2200 - 15 * bar, kYellow);
        testing::spinFor(5);
    }
    const auto frames = static_cast<int>(took.elapsed() / NeedleGauge::kFrameMs) + 2;
    // And a fall after a frame: the bar's old top and the needle's old place are cleared.
    w.setLine(El::SMeter, 250, 2200, 250, 2200 - 15 * 139, kYellow);
    testing::spinFor(100);
    w.setLine(El::SMeter, 250, 2200, 250, 2200 - 15 * 3, kYellow);
    w.setNeedleValue(200);
    testing::spinFor(200);
    EXPECT_GE(gauge.n, 2);
    EXPECT_LE(gauge.n, frames + 2);
    EXPECT_GE(meter.n, 2);
    EXPECT_LE(meter.n, frames + 2);
    const QImage shown =
        w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), fresh.size());
    EXPECT_EQ(count(
                  shown, [](QColor a, QColor b) { return a != b; }, fresh),
              0);
}

TEST(StatusLine, ShowsItsFullTextAsTooltipAndKeepsTheLastHundred) {
    frmKestrova w;
    QWidget* status = w.element(El::StatusDisp);
    const QString tip = QStringLiteral("Click to clear previous Status Info.");
    EXPECT_EQ(status->toolTip(), tip);
    for (int i = 1; i <= 105; ++i) {
        w.setText(El::StatusDisp, "12:00:00> message " + std::to_string(i) +
                                      " that is longer than the status line is wide");
    }
    EXPECT_EQ(status->toolTip(),
              "12:00:00> message 105 that is longer than the status line is wide\n" + tip);

    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                           status->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(status, &menu);
    auto* list = w.findChild<QListWidget*>(QStringLiteral("StatusMessages"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 100);
    EXPECT_TRUE(list->item(0)->text().startsWith("12:00:00> message 105 "));
    EXPECT_TRUE(list->item(99)->text().startsWith("12:00:00> message 6 "));
    list->hide();

    // A click still clears the line, and the tooltip is what a click does again.
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                     Qt::LeftButton, {});
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                   Qt::NoButton, {});
    QCoreApplication::sendEvent(status, &down);
    QCoreApplication::sendEvent(status, &up);
    EXPECT_EQ(w.text(El::StatusDisp), "");
    EXPECT_EQ(status->toolTip(), tip);
    EXPECT_EQ(w.statusMessages().newestFirst().size(), 100u);
}

}  // namespace
}  // namespace kestrova
