#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>

#include "app/frmKestrova.h"
#include "display/NeedleGauge.h"

namespace kestrova {
namespace {

QLabel* labelOf(const frmKestrova& w, El e) {
    return qobject_cast<QLabel*>(w.element(e));
}

int px(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

struct Place {
    El el;
    const char* container;
    int left, top, width, height;
};

// The window's design, in twips.
const Place kPlaces[] = {
    {El::FrameGainLocal, "", 30, 0, 975, 495},
    {El::Banner_Video_Gain, "FrameGainLocal", 0, 0, 975, 225},
    {El::Banner_Local_Remote, "FrameGainLocal", 0, 240, 980, 225},
    {El::anggBrgDisplay, "", 360, 120, 3180, 3180},
    {El::FrameDOA, "", 3120, 120, 855, 735},
    {El::DOA, "FrameDOA", 140, 80, 560, 225},
    {El::Banner_RelBear, "FrameDOA", 150, 430, 450, 225},
    {El::ImageBackgroundDOA, "FrameDOA", 0, 0, 810, 435},
    {El::FrameMeters, "", 3960, 0, 855, 2475},
    {El::ImageBackgroundMeters, "FrameMeters", 0, 0, 870, 2460},
    {El::FrameDFOff, "", 1560, 2400, 735, 375},
    {El::Banner_DF_Off, "FrameDFOff", 0, 0, 735, 240},
    {El::FrameMode, "", 3375, 2460, 1335, 495},
    {El::Banner_Op_Mode, "FrameMode", 0, 0, 1335, 225},
    {El::Banner_IF_BW, "FrameMode", 0, 240, 1335, 225},
    {El::FrameAnt, "", 2880, 2955, 1830, 495},
    {El::Banner_Ant_Mod, "FrameAnt", 10, 0, 1815, 195},
    {El::Banner_Ant_Band, "FrameAnt", 10, 210, 1815, 195},
    {El::Banner_AntOrientation, "", 15, 2925, 450, 405},
    {El::BatteryMeter, "", 630, 3165, 420, 180},
    {El::Textbox2, "", 4920, 120, 975, 285},
    {El::ImageGPSBackground, "", 4920, 360, 2370, 1815},
    {El::Banner_GPS_Sexa_Lat, "", 5400, 840, 1800, 225},
    {El::Banner_GPS_Sexa_Lon, "", 5265, 1080, 1800, 225},
    {El::Banner_GPS_Decimal_Lat, "", 5400, 1560, 1800, 225},
    {El::Banner_GPS_Decimal_Lon, "", 5265, 1800, 1800, 225},
    {El::butConfig, "", 5040, 2280, 2175, 495},
    {El::LabelVersion, "", 5040, 2880, 2175, 180},
    {El::StatusDisp, "", 5040, 3120, 2175, 255},
};

class Window : public ::testing::Test {
  protected:
    frmKestrova w;
};

TEST_F(Window, IsAFixedBlackClientAreaOf7350By3390Twips) {
    ASSERT_DOUBLE_EQ(w.twipsPerPixelY(), 15.0);  // offscreen screen: 96 dpi
    EXPECT_EQ(w.windowTitle(), QStringLiteral("HNT-7700 Remote Display"));
    EXPECT_EQ(w.size(), QSize(490, 226));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::black));
}

TEST_F(Window, EveryElementSitsAtItsPlaceInItsContainer) {
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(elementName(p.el));
        QWidget* e = w.element(p.el);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->geometry(), QRect(px(p.left), px(p.top), px(p.width), px(p.height)));
        const QString parent =
            e->parentWidget() == &w ? QString() : e->parentWidget()->objectName();
        EXPECT_EQ(parent, QString::fromLatin1(p.container));
    }
}

TEST_F(Window, LinesStartAtTheirDesignEnds) {
    struct Row {
        El el;
        const char* container;
        QPoint a, b;
        int width;
        QColor colour;
    };
    const Row rows[] = {
        {El::SMeter, "FrameMeters", {px(250), px(2200)}, {px(250), px(1500)}, 3, Qt::yellow},
        {El::TMeter, "FrameMeters", {px(600), px(1180)}, {px(600), px(1100)}, 3, Qt::yellow},
        {El::LineDivision, "", {px(4845), px(3240)}, {px(4845), px(120)}, 2, QColor(128, 128, 128)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(elementName(r.el));
        auto* line = dynamic_cast<LineElement*>(w.element(r.el));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->end1(), r.a);
        EXPECT_EQ(line->end2(), r.b);
        EXPECT_EQ(line->penWidth(), r.width);
        EXPECT_EQ(line->colour(), r.colour);
        const QString parent =
            line->parentWidget() == &w ? QString() : line->parentWidget()->objectName();
        EXPECT_EQ(parent, QString::fromLatin1(r.container));
    }
}

TEST_F(Window, DesignTextsAndTooltips) {
    const struct {
        El el;
        const char* text;
        const char* tip;
    } rows[] = {
        {El::Banner_Video_Gain, "---A", ""},
        {El::Banner_Local_Remote, "---A", ""},
        {El::Banner_Op_Mode, "---A", ""},
        {El::Banner_IF_BW, "---A", ""},
        {El::StatusDisp, "Status Ok!", "Click to clear previous Status Info."},
        {El::butConfig, "Configure", "Config Kestrova's Serial Port"},
        {El::Textbox2, "", ""},
        {El::DOA, " - - -", "Numeric bearing display (000-359.)."},
        {El::Banner_RelBear, "REL", "Relative (no compass offsets) / Absolute bearings. "},
        {El::Banner_AntOrientation, "", "Standard/Inverted (upside-down) antenna mount."},
        {El::ImageBackgroundMeters, "", "S-meter/Tune-meter."},
        {El::ImageGPSBackground, "", "GPS Derived Current Location."},
        {El::anggBrgDisplay, "", "Polar bearing display."},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(elementName(r.el));
        EXPECT_EQ(w.text(r.el), r.text);
        EXPECT_EQ(w.element(r.el)->toolTip(), QString::fromLatin1(r.tip));
    }
    EXPECT_EQ(labelOf(w, El::StatusDisp)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

TEST_F(Window, OnlyTheDfOffPanelAndBatteryIconStartHidden) {
    for (std::size_t i = 0; i < kElementCount; ++i) {
        const El e = static_cast<El>(i);
        SCOPED_TRACE(elementName(e));
        const bool hidden = e == El::FrameDFOff || e == El::BatteryMeter;
        EXPECT_EQ(w.element(e)->isHidden(), hidden);
    }
}

TEST_F(Window, BannersAreYellowOnBlackInTheDisplayFace) {
    const struct {
        El el;
        double points;
        bool bold;
        QColor text;
    } rows[] = {
        {El::Banner_Op_Mode, 9.75, false, Qt::yellow},
        {El::Banner_Ant_Mod, 9.75, false, Qt::yellow},
        {El::Banner_GPS_Decimal_Lon, 9.75, false, Qt::yellow},
        {El::Banner_RelBear, 9.75, false, Qt::yellow},
        {El::DOA, 11.25, true, Qt::yellow},
        {El::LabelVersion, 8.25, false, QColor(128, 128, 128)},
        {El::StatusDisp, 8.25, false, Qt::black},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(elementName(r.el));
        QWidget* e = w.element(r.el);
        const QFontInfo info(e->font());
        EXPECT_TRUE(info.family() == "Verdana" || info.family() == "DejaVu Sans")
            << info.family().toStdString();
        EXPECT_DOUBLE_EQ(e->font().pointSizeF(), r.points);
        EXPECT_EQ(e->font().bold(), r.bold);
        EXPECT_EQ(e->palette().color(QPalette::WindowText), r.text);
    }
    EXPECT_EQ(w.element(El::butConfig)->palette().color(QPalette::Button), QColor(128, 128, 128));
    EXPECT_EQ(w.element(El::StatusDisp)->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(Window, EveryElementTheLogicTouchesReachesItsWidget) {
    for (std::size_t i = 0; i < kElementCount; ++i) {
        const El e = static_cast<El>(i);
        SCOPED_TRACE(elementName(e));
        QWidget* widget = w.element(e);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), QString::fromLatin1(elementName(e)));
        w.setVisible(e, false);
        EXPECT_TRUE(widget->isHidden());
        w.setVisible(e, true);
        EXPECT_FALSE(widget->isHidden());
    }
}

TEST_F(Window, TextsArriveAsLatin1AndColoursChange) {
    const El texts[] = {El::Banner_GPS_Sexa_Lat, El::Textbox2, El::StatusDisp, El::butConfig,
                        El::DOA};
    const std::string degree = "33\xB0 52' 07.4\" S";
    for (El e : texts) {
        SCOPED_TRACE(elementName(e));
        w.setText(e, degree);
        EXPECT_EQ(w.text(e), degree);
    }
    EXPECT_EQ(labelOf(w, El::Banner_GPS_Sexa_Lat)->text(), QString::fromUtf8("33° 52' 07.4\" S"));
    // Plain text: markup from the line must not be interpreted.
    w.setText(El::StatusDisp, "<b>x</b>");
    EXPECT_EQ(labelOf(w, El::StatusDisp)->textFormat(), Qt::PlainText);

    w.setTextColour(El::Banner_Op_Mode, kRed);
    EXPECT_EQ(w.element(El::Banner_Op_Mode)->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));
}

TEST_F(Window, NeedleSettersReachTheGauge) {
    w.setNeedleValue(123.4);
    w.setNeedleColour(kNeedleGreen);
    w.setNeedleStrength(0.5);
    EXPECT_DOUBLE_EQ(w.gauge()->needleValue(), 123.4);
    EXPECT_EQ(w.gauge()->needleColour(), QColor(0, 255, 64));
    EXPECT_DOUBLE_EQ(w.gauge()->strength(), 0.5);
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

TEST_F(Window, MeterLinesAreDrawnInWholePixelsOfTheirPanel) {
    QWidget* frame = w.element(El::FrameMeters);
    const struct {
        int p;
        Rgb colour;
    } rows[] = {{0, kYellow}, {1, kYellow}, {71, kYellow}, {140, kYellow}, {142, kRed}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.p);
        w.setLine(El::SMeter, 250, 2200 - 15 * r.p, 250, 2200, r.colour);
        const QColor c(r.colour.r, r.colour.g, r.colour.b);
        EXPECT_EQ(barHeight(frame, px(250), c), r.p);
        EXPECT_EQ(barHeight(frame, px(250) - 1, c), r.p);  // 3 pixels wide
        EXPECT_EQ(barHeight(frame, px(250) + 1, c), r.p);
        EXPECT_EQ(barHeight(frame, px(250) + 2, c), 0);
    }
    // Tune marker: four pixels, and only the moved meter changes.
    w.setLine(El::TMeter, 600, 2200 - 15 * 69, 600, 2200 - 15 * 73, kRed);
    EXPECT_EQ(barHeight(frame, px(600), QColor(255, 0, 0)), 4);
    EXPECT_EQ(barHeight(frame, px(250), QColor(255, 0, 0)), 142);
}

TEST_F(Window, StatusLabelClickEmptiesIt) {
    auto* status = w.element(El::StatusDisp);
    auto click = [status](QPointF press, QPointF release) {
        QMouseEvent down(QEvent::MouseButtonPress, press, status->mapToGlobal(press),
                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent up(QEvent::MouseButtonRelease, release, status->mapToGlobal(release),
                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(status, &down);
        QCoreApplication::sendEvent(status, &up);
    };
    const QPointF inside(10, 5);
    // Released off the label: no click.
    click(inside, QPointF(-20, -20));
    EXPECT_EQ(w.text(El::StatusDisp), "Status Ok!");
    click(inside, inside);
    EXPECT_EQ(w.text(El::StatusDisp), "");
    click(inside, inside);
    EXPECT_EQ(w.text(El::StatusDisp), "");
}

TEST_F(Window, ConfigureButtonCallsTheCallbackWhenSet) {
    auto* button = qobject_cast<QPushButton*>(w.element(El::butConfig));
    ASSERT_NE(button, nullptr);
    button->click();  // nobody listening yet: nothing happens
    int calls = 0;
    w.onConfigClicked = [&calls] { ++calls; };
    button->click();
    button->click();
    EXPECT_EQ(calls, 2);
}

TEST_F(Window, PlacementInTwips) {
    w.setLeftTwips(1500);
    w.setTopTwips(3000);
    EXPECT_EQ(w.pos(), QPoint(100, 200));
    EXPECT_EQ(w.leftTwips(), 1500);
    EXPECT_EQ(w.topTwips(), 3000);
    EXPECT_GE(w.widthTwips(), 7350);
    EXPECT_GT(w.screenWidthTwips(), 0);
    w.show();
    w.makeInvisible();
    EXPECT_FALSE(w.isVisible());
}

std::filesystem::path assetsDir() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "assets";
}

TEST_F(Window, LoadPictureKeepsTheOldPictureOnFailure) {
    QLabel* mount = labelOf(w, El::Banner_AntOrientation);
    const std::string gnd = (assetsDir() / "Ant-GND-Win32.bmp").string();
    ASSERT_TRUE(w.loadPicture(El::Banner_AntOrientation, gnd));
    const QImage before = mount->pixmap().toImage();
    EXPECT_EQ(before.size(), QSize(30, 27));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString junk = dir.filePath("junk.bmp");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM not really a bitmap");
    f.close();
    const std::string failures[] = {dir.filePath("missing.bmp").toStdString(), junk.toStdString(),
                                    dir.path().toStdString(), ""};
    for (const std::string& path : failures) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(w.loadPicture(El::Banner_AntOrientation, path));
        EXPECT_EQ(mount->pixmap().toImage(), before);
    }
    // Only picture elements take pictures.
    EXPECT_FALSE(w.loadPicture(El::StatusDisp, gnd));
    EXPECT_TRUE(labelOf(w, El::StatusDisp)->pixmap().isNull());
}

TEST(AntennaPictures, AreThirtyByTwentySevenAndDiffer) {
    const QImage gnd(QString::fromStdString((assetsDir() / "Ant-GND-Win32.bmp").string()));
    const QImage air(QString::fromStdString((assetsDir() / "Ant-AIR-Win32.bmp").string()));
    EXPECT_EQ(gnd.size(), QSize(30, 27));
    EXPECT_EQ(air.size(), QSize(30, 27));
    EXPECT_NE(gnd, air);
}

}  // namespace
}  // namespace kestrova
