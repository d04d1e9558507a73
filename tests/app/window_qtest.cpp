// The main window on rendered pixels: its design, the meters, pictures and status line; the
// view options (bearing marks on the dial, the night palette, the scale); the stacking helper.

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <cmath>
#include <filesystem>
#include <functional>
#include <tuple>

#include "app/frmKestrova.h"
#include "settings/QtMessageBoxes.h"
#include "tests/fakes/Program.h"
#include "widgets/LineElement.h"
#include "widgets/Look.h"
#include "widgets/NeedleGauge.h"
#include "widgets/Pictures.h"
#include "widgets/StatusLineWidget.h"
#include "widgets/WindowHelpers.h"

namespace kestrova::testing {
namespace {

const auto kAssets = std::filesystem::path(__FILE__).parent_path() / "../../assets";

QLabel* labelOf(const frmKestrova& w, El e) {
    return qobject_cast<QLabel*>(w.element(e));
}
int px(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}
// How many pixels of img (with the same pixel of other, when given) `pick` picks.
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
// A click on the status line: pressed at (10, 5), released at `at`.
void click(QWidget* status, QPointF at = {10, 5}) {
    const QPointF in(10, 5);
    QMouseEvent down(QEvent::MouseButtonPress, in, in, Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent up(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(status, &down);
    QCoreApplication::sendEvent(status, &up);
}

TEST(Window, IsAFixedBlackClientAreaWithItsDesignTextsPlacesAndPictures) {
    frmKestrova w;
    ASSERT_DOUBLE_EQ(w.twipsPerPixelY(), 15.0);  // offscreen screen: 96 dpi
    EXPECT_EQ(w.windowTitle(), QStringLiteral("HNT-7700 Remote Display"));
    EXPECT_EQ(w.size(), QSize(490, 226));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::black));
    w.setLeftTwips(1500);
    w.setTopTwips(3000);
    EXPECT_EQ(w.pos(), QPoint(100, 200));
    EXPECT_EQ(std::pair(w.leftTwips(), w.topTwips()), std::pair(1500, 3000));
    const std::tuple<El, const char*, const char*> rows[] = {
        {El::Banner_Op_Mode, "---A", ""},
        {El::StatusDisp, "Status Ok!", "Click to clear previous Status Info."},
        {El::butConfig, "Configure", "Config Kestrova's Serial Port"},
        {El::DOA, " - - -", "Numeric bearing display (000-359.)."},
        {El::anggBrgDisplay, "", "Polar bearing display."},
    };
    for (const auto& [e, text, tip] : rows) {
        EXPECT_EQ(w.text(e), text) << elementName(e);
        EXPECT_EQ(w.element(e)->toolTip(), QString::fromLatin1(tip)) << elementName(e);
    }
    // One element of each kind, the nested and the hidden ones, in twips of their container.
    const std::tuple<El, const char*, QRect> places[] = {
        {El::FrameDOA, "", {3120, 120, 855, 735}},
        {El::DOA, "FrameDOA", {140, 80, 560, 225}},
        {El::ImageBackgroundDOA, "FrameDOA", {0, 0, 810, 435}},
        {El::anggBrgDisplay, "", {360, 120, 3180, 3180}},
        {El::Textbox2, "", {4920, 120, 975, 285}},
        {El::butConfig, "", {5040, 2280, 2175, 495}},
        {El::StatusDisp, "", {5040, 3120, 2175, 255}},
        {El::FrameDFOff, "", {1560, 2400, 735, 375}},
        {El::Banner_DF_Off, "FrameDFOff", {0, 0, 735, 240}},
        {El::BatteryMeter, "", {630, 3165, 420, 180}},
    };
    for (const auto& [el, container, t] : places) {
        QWidget* e = w.element(el);
        EXPECT_EQ(e->geometry(), QRect(px(t.x()), px(t.y()), px(t.width()), px(t.height())))
            << elementName(el);
        EXPECT_EQ(e->parentWidget(), *container ? w.findChild<QWidget*>(container) : &w);
    }
    // Every element the logic names has its widget, centred inside its container (the design
    // lets some overhang their container a little); only the DF OFF panel and the battery icon
    // start hidden.
    for (std::size_t i = 0; i < kElementCount; ++i) {
        const El e = static_cast<El>(i);
        SCOPED_TRACE(elementName(e));
        QWidget* widget = w.element(e);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), QString::fromLatin1(elementName(e)));
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry().center()));
        EXPECT_EQ(widget->isHidden(), e == El::FrameDFOff || e == El::BatteryMeter);
    }
}

TEST(Window, PicturesFillTheirPlacesTextsArePlainLatin1AndTheDfOffPanelIsBlack) {
    frmKestrova w;
    auto* line = dynamic_cast<LineElement*>(w.element(El::LineDivision));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(QLine(line->end1(), line->end2()), QLine(px(4845), px(3240), px(4845), px(120)));
    // Each fixed picture fills its element to the pixel, also when drawn for a dense screen.
    for (El e : {El::ImageBackgroundDOA, El::ImageBackgroundMeters, El::Banner_DF_Off,
                 El::BatteryMeter, El::ImageGPSBackground}) {
        const QSizeF gap =
            QSizeF(w.element(e)->size()) - labelOf(w, e)->pixmap().deviceIndependentSize();
        EXPECT_TRUE(gap.width() >= 0 && gap.height() >= 0 && gap.width() + gap.height() <= 1)
            << elementName(e);
    }
    EXPECT_EQ(pictures::meterScales(2).deviceIndependentSize(), QSizeF(58, 164));

    // Texts arrive as Latin-1, are shown as plain text, and colours change.
    const std::string degree = "33\xB0 52' 07.4\" S";
    for (El e : {El::Banner_GPS_Sexa_Lat, El::Textbox2, El::StatusDisp, El::butConfig, El::DOA}) {
        w.setText(e, degree);
        EXPECT_EQ(w.text(e), degree) << elementName(e);
    }
    EXPECT_EQ(labelOf(w, El::Banner_GPS_Sexa_Lat)->text(), QString::fromUtf8("33° 52' 07.4\" S"));
    // Plain text: markup from the line must not be interpreted.
    w.setText(El::StatusDisp, "<b>x</b>");
    EXPECT_EQ(labelOf(w, El::StatusDisp)->textFormat(), Qt::PlainText);
    w.setTextColour(El::Banner_Op_Mode, kRed);
    EXPECT_EQ(w.element(El::Banner_Op_Mode)->palette().color(QPalette::WindowText), Qt::red);

    // The panel of the DF OFF sign is black wherever the sign leaves it, not the dial beneath.
    w.setVisible(El::FrameDFOff, true);
    const QImage img = w.grab().toImage();
    const QRect panel = w.element(El::FrameDFOff)->geometry();
    const int signBottom = panel.top() + w.element(El::Banner_DF_Off)->height();
    EXPECT_EQ(count(img.copy(panel.adjusted(0, signBottom - panel.top(), 0, 0)),
                    [](QColor c, QColor) { return c != QColor(Qt::black); }),
              0);
}

// Logical rows of bar colour in one pixel column of the meter panel, as the operator sees them.
int barHeight(QWidget* frame, int x, const QColor& colour) {
    const QImage img = frame->grab().toImage();
    const int dpr = qRound(img.devicePixelRatio());
    int rows = 0;
    // Above the baseline, where the scale has no yellow or red of its own.
    for (int y = 0; y < px(2200) * dpr; ++y) {
        rows += img.pixelColor(x * dpr + dpr / 2, y) == colour ? 1 : 0;
    }
    return rows / dpr;
}

TEST(Window, MeterLinesAreDrawnInWholePixelsOfTheirPanel) {
    frmKestrova w;
    QWidget* frame = w.element(El::FrameMeters);
    const std::pair<int, Rgb> rows[] = {
        {0, kYellow}, {1, kYellow}, {71, kYellow}, {140, kYellow}, {142, kRed}};
    for (const auto& [p, colour] : rows) {
        w.setLine(El::SMeter, 250, 2200 - 15 * p, 250, 2200, colour);
        for (int dx : {-1, 0, 1, 2}) {  // 3 pixels wide
            EXPECT_EQ(barHeight(frame, px(250) + dx, QColor(colour.r, colour.g, colour.b)),
                      dx < 2 ? p : 0)
                << p << " " << dx;
        }
    }
    // Tune marker: four pixels, and only the moved meter changes.
    w.setLine(El::TMeter, 600, 2200 - 15 * 69, 600, 2200 - 15 * 73, kRed);
    EXPECT_EQ(barHeight(frame, px(600), QColor(255, 0, 0)), 4);
    EXPECT_EQ(barHeight(frame, px(250), QColor(255, 0, 0)), 142);
}

TEST(Window, LoadPictureKeepsTheOldPictureOnFailure) {
    frmKestrova w;
    const std::string gnd = (kAssets / "Ant-GND-Win32.bmp").string();
    QLabel* mount = labelOf(w, El::Banner_AntOrientation);
    ASSERT_TRUE(w.loadPicture(El::Banner_AntOrientation, gnd));
    const QImage before = mount->pixmap().toImage();
    EXPECT_EQ(before.size(), QSize(30, 27));
    QTemporaryDir dir;
    const std::string junk = dir.filePath("junk.bmp").toStdString();
    ASSERT_TRUE(std::ofstream(junk) << "BM not really a bitmap");
    for (const std::string& path : {dir.filePath("missing.bmp").toStdString(), junk,
                                    dir.path().toStdString(), std::string()}) {
        EXPECT_FALSE(w.loadPicture(El::Banner_AntOrientation, path)) << path;
        EXPECT_EQ(mount->pixmap().toImage(), before) << path;
    }
    // Only picture elements take pictures.
    EXPECT_FALSE(w.loadPicture(El::StatusDisp, gnd));
    EXPECT_TRUE(labelOf(w, El::StatusDisp)->pixmap().isNull());
}

// A click (pressed and released on it) empties the status line; its tooltip shows the full
// last message, its menu the last hundred; Configure calls back once someone listens.
TEST(Window, StatusLineAndConfigureButton) {
    frmKestrova w;
    QWidget* status = w.element(El::StatusDisp);
    const QString tip = QStringLiteral("Click to clear previous Status Info.");
    click(status, {-20, -20});  // released off the label: no click
    EXPECT_EQ(w.text(El::StatusDisp), "Status Ok!");
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
    click(status);
    EXPECT_EQ(w.text(El::StatusDisp), "");
    EXPECT_EQ(status->toolTip(), tip);
    EXPECT_EQ(w.statusLine()->newestFirst().size(), 100u);

    auto* button = qobject_cast<QPushButton*>(w.element(El::butConfig));
    ASSERT_NE(button, nullptr);
    button->click();  // nobody listening yet: nothing happens
    int calls = 0;
    w.onConfigClicked = [&calls] { ++calls; };
    button->click();
    EXPECT_EQ(calls, 1);
}

// A bearing the readout shows, as the window is told of it.
void showBearing(frmKestrova& w, int tenths) {
    BearingShown b;
    b.tenths = static_cast<std::int16_t>(tenths);
    w.history().bearingShown(b);
}

// Everything that can show lit at once, as the logic would draw it.
void lightEverything(frmKestrova& w) {
    ASSERT_TRUE(w.loadPicture(El::Banner_AntOrientation, (kAssets / "Ant-AIR-Win32.bmp").string()));
    w.history().setLength(8);
    for (const int tenths : {100, 205, 350, 500, 905, 2000, 2100, 2225}) {
        showBearing(w, tenths);
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

// The night is a look, not a state: back to day the window is as before, and each palette's
// dial is drawn once.
TEST(NightPalette, NoPixelOfTheWindowItsListOrItsBoxesIsGreenOrBlue) {
    frmKestrova w;
    lightEverything(w);
    const QImage day = w.grab().toImage();
    ASSERT_GT(bright(day), 10000) << "by day the window is colourful";
    w.applyPalette(Palette::Night);
    const QImage night = w.grab().toImage();
    EXPECT_EQ(bright(night), 0);
    EXPECT_GT(red(night), 4000) << "and at night it still shows everything";
    w.applyPalette(Palette::Day);
    EXPECT_EQ(w.grab().toImage(), day);
    w.applyPalette(Palette::Night);
    w.grab();
    EXPECT_EQ(w.gauge()->faceRenderCount(), 2);

    QListWidget* list = w.statusLine()->showMessages(QPoint(100, 100));
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

// The view options from the settings file: the program's window, and the port dialog opened
// from it, in their palette and size; a bad value reported and ignored.
TEST(NightPalette, FromTheSettingsFileAlsoOnThePortDialog) {
    Pty one;
    ProgramFolder folder(one.path, "", "Palette=Night\r\nHistory=30\r\nScale=4\r\n");
    auto app = folder.start();
    EXPECT_EQ(app->window().colours(), Palette::Night);
    EXPECT_EQ(app->window().history().history().length(), 30u);
    EXPECT_EQ(app->window().scale(), 1.0);
    EXPECT_EQ(app->window().text(El::StatusDisp).substr(8),
              "> Scale=4 ignored (a number from 1 to 3)");
    app->butConfig_Click();
    ASSERT_NE(app->portDialog(), nullptr);
    const QImage img = app->portDialog()->grab().toImage();
    EXPECT_EQ(bright(img), 0);
    EXPECT_GT(red(img), 200);
}

// Marks fade with age, the oldest goes when the
// history is full, and a stop drops them all.
TEST(History, MarksFadeAndGoOnTheRimDrawnIntoTheCachedDial) {
    frmKestrova w;
    w.history().setLength(3);
    NeedleGauge& g = *w.gauge();
    // Blue of the dial's rim at `degrees`, where a mark's tip lies over the red axis marks.
    const auto blueAt = [&g](double degrees) {
        const QPointF p = g.centre() + needleTip(degrees, 1, g.width() / 2.0 * 95 / 106);
        return g.grab().toImage().pixelColor(p.toPoint()).blue();
    };
    for (const int tenths : {900, 1800, 2700}) {
        showBearing(w, tenths);
    }
    EXPECT_GT(blueAt(270), blueAt(180));
    EXPECT_GT(blueAt(180), blueAt(90));
    EXPECT_GT(blueAt(90), 40);
    EXPECT_EQ(blueAt(0), 0);
    showBearing(w, 0);
    EXPECT_EQ(blueAt(90), 0) << "pushed out by the fourth";
    EXPECT_GT(blueAt(0), blueAt(270));

    // Marks are drawn into the cached dial when they change, not on a needle move.
    g.grab();
    const int faces = g.faceRenderCount(), overlays = g.overlayRenderCount();
    w.setNeedleStrength(1);
    for (int v = 0; v < 360; v += 30) {
        w.setNeedleValue(v);
        g.grab();
    }
    EXPECT_EQ(g.overlayRenderCount(), overlays);
    showBearing(w, 1000);
    g.grab();
    EXPECT_EQ(g.overlayRenderCount(), overlays + 1);
    EXPECT_EQ(g.faceRenderCount(), faces);

    w.history().bearingsStopped();
    for (double d : {0, 90, 100, 180, 270}) {
        EXPECT_EQ(blueAt(d), 0) << d;
    }
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
        const QSize size(qRound(490 * f), qRound(226 * f));
        EXPECT_EQ(w.size(), size);
        EXPECT_EQ(w.gauge()->size(), QSize(qRound(212 * f), qRound(212 * f)));
        EXPECT_DOUBLE_EQ(w.element(El::DOA)->font().pointSizeF(), 11.25 * f);

        // Pictures drawn with a device pixel for each pixel shown, not stretched.
        for (El e : {El::ImageBackgroundMeters, El::Banner_DF_Off, El::ImageGPSBackground}) {
            const QSize shown = w.element(e)->size(), drawn = labelOf(w, e)->pixmap().size();
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

// Shows the window and waits until it is on the screen.
bool shown(QWidget& w) {
    w.show();
    return spinUntil([&] { return w.windowHandle() && w.windowHandle()->isExposed(); });
}
// The pixels `pick` picks in `area` of what the screen shows of the window, once painted.
int onScreen(QWidget& w, const QRectF& area, bool (*pick)(QColor)) {
    spinFor(200);
    const QImage img = w.screen()->grabWindow(w.winId()).toImage();
    const qreal dpr = img.devicePixelRatio();
    const QRectF at(area.topLeft() * dpr, area.size() * dpr);
    return count(img.copy(at.toAlignedRect()), [pick](QColor c, QColor) { return pick(c); });
}

// On a screen at a fractional ratio, as the test command runs it under Xvfb with
// QT_SCALE_FACTOR=1.5: hiding the battery icon, which lies over the dial, leaves none of its
// red behind, and the S-meter's bar falling from near the top of its scale leaves none of its
// yellow above its new top. Skipped on the offscreen platform, whose windows have no device
// pixels of their own.
TEST(OnScreen, HiddenIconsAndFallingBarsLeaveNothingBehind) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X screen";
    }
    frmKestrova w;
    ASSERT_TRUE(shown(w));
    const QRect icon = w.element(El::BatteryMeter)->geometry().adjusted(-2, -2, 2, 2);
    const auto red = [](QColor c) { return c.red() > 128 && c.green() < 64; };
    w.setVisible(El::BatteryMeter, true);
    ASSERT_GT(onScreen(w, icon, red), 50);
    w.setVisible(El::BatteryMeter, false);
    EXPECT_EQ(onScreen(w, icon, red), 0);

    const double p = w.twipsPerPixelY();
    auto bar = [&](int pixels) {
        w.setLine(El::SMeter, 250, 2200, 250, 2200 - static_cast<int>(std::lround(p * pixels)),
                  kYellow);
    };
    // The bar's column from the top of the scale down to 12 pixels above the baseline.
    const QPoint base = w.element(El::FrameMeters)
                            ->mapTo(&w, QPoint(static_cast<int>(std::lround(250 / p)),
                                               static_cast<int>(std::lround(2200 / p))));
    const QRectF column(base.x() - 3, base.y() - 150, 7, 138);
    const auto yellow = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() < 80; };
    bar(140);
    ASSERT_GT(onScreen(w, column, yellow), 100);
    bar(10);
    EXPECT_EQ(onScreen(w, column, yellow), 0);
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
    ASSERT_TRUE(shown(w));
    spinFor(100);
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
        spinFor(5);
    }
    const auto frames = static_cast<int>(took.elapsed() / NeedleGauge::kFrameMs) + 2;
    // And a fall after a frame: the bar's old top and the needle's old place are cleared.
    w.setLine(El::SMeter, 250, 2200, 250, 2200 - 15 * 139, kYellow);
    spinFor(100);
    w.setLine(El::SMeter, 250, 2200, 250, 2200 - 15 * 3, kYellow);
    w.setNeedleValue(200);
    spinFor(200);
    for (int n : {gauge.n, meter.n}) {
        EXPECT_TRUE(n >= 2 && n <= frames + 2) << n << " paints in " << frames << " frames";
    }
    const QImage shown =
        w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), fresh.size());
    EXPECT_EQ(count(
                  shown, [](QColor a, QColor b) { return a != b; }, fresh),
              0);
}

// Changing the flag keeps place, size and visibility; asking for what the window already has
// leaves its native window alone.
TEST(SetAlwaysOnTop, ChangesTheStackingOnlyKeepingPlaceSizeAndVisibility) {
    const std::tuple<bool, bool, bool> rows[] = {
        {true, false, true}, {true, true, false},  {true, false, false},
        {true, true, true},  {false, false, true}, {false, true, false},
    };
    for (const auto& [shown, startOnTop, flag] : rows) {
        SCOPED_TRACE(::testing::Message()
                     << "shown " << shown << ", " << startOnTop << " to " << flag);
        QWidget w;
        w.setWindowFlag(Qt::WindowStaysOnTopHint, startOnTop);
        w.setGeometry(123, 77, 320, 140);
        w.setVisible(shown);
        QCoreApplication::processEvents();
        const QRect before = w.geometry();
        const WId id = shown ? w.winId() : 0;
        SetAlwaysOnTop(&w, flag);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint), flag);
        EXPECT_EQ(w.isVisible(), shown);
        EXPECT_EQ(w.geometry(), before);
        if (shown && flag == startOnTop) {
            EXPECT_EQ(w.winId(), id);
        }
    }
    SetAlwaysOnTop(nullptr, true);  // no window: nothing to do
}

}  // namespace
}  // namespace kestrova::testing
