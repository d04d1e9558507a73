#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/frmKestrova.h"
#include "widgets/Pictures.h"

namespace kestrova {
namespace {

QLabel* labelOf(const frmKestrova& w, El e) {
    return qobject_cast<QLabel*>(w.element(e));
}

int px(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

struct Window : ::testing::Test {
    frmKestrova w;
};

TEST_F(Window, IsAFixedBlackClientAreaPlacedInTwipsWithItsDesignTexts) {
    ASSERT_DOUBLE_EQ(w.twipsPerPixelY(), 15.0);  // offscreen screen: 96 dpi
    EXPECT_EQ(w.windowTitle(), QStringLiteral("HNT-7700 Remote Display"));
    EXPECT_EQ(w.size(), QSize(490, 226));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::black));
    w.setLeftTwips(1500);
    w.setTopTwips(3000);
    EXPECT_EQ(w.pos(), QPoint(100, 200));
    EXPECT_EQ(std::pair(w.leftTwips(), w.topTwips()), std::pair(1500, 3000));
    EXPECT_GE(w.widthTwips(), 7350);
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
}

// Every element the logic names has its widget, centred inside its container (the design lets
// some overhang their container a little), only the DF OFF panel and the battery icon start hidden,
// and the logic shows and hides each.
TEST_F(Window, EveryElementIsInItsContainerAndTheLogicReachesIt) {
    for (std::size_t i = 0; i < kElementCount; ++i) {
        const El e = static_cast<El>(i);
        SCOPED_TRACE(elementName(e));
        QWidget* widget = w.element(e);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), QString::fromLatin1(elementName(e)));
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry().center()));
        EXPECT_EQ(widget->isHidden(), e == El::FrameDFOff || e == El::BatteryMeter);
        w.setVisible(e, false);
        EXPECT_TRUE(widget->isHidden());
        w.setVisible(e, true);
        EXPECT_FALSE(widget->isHidden());
    }
}

// One element of each kind, the nested and the hidden ones, in twips of their container.
TEST_F(Window, RepresentativeElementsSitAtTheirDesignPlaces) {
    const std::tuple<El, const char*, QRect> rows[] = {
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
    for (const auto& [el, container, t] : rows) {
        SCOPED_TRACE(elementName(el));
        QWidget* e = w.element(el);
        EXPECT_EQ(e->geometry(), QRect(px(t.x()), px(t.y()), px(t.width()), px(t.height())));
        EXPECT_EQ(e->parentWidget(), *container ? w.findChild<QWidget*>(container) : &w);
    }
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
}

TEST_F(Window, TextsArriveAsLatin1AsPlainTextAndColoursChange) {
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
    const std::pair<int, Rgb> rows[] = {
        {0, kYellow}, {1, kYellow}, {71, kYellow}, {140, kYellow}, {142, kRed}};
    for (const auto& [p, colour] : rows) {
        SCOPED_TRACE(p);
        w.setLine(El::SMeter, 250, 2200 - 15 * p, 250, 2200, colour);
        const QColor c(colour.r, colour.g, colour.b);
        for (int dx : {-1, 0, 1, 2}) {  // 3 pixels wide
            EXPECT_EQ(barHeight(frame, px(250) + dx, c), dx < 2 ? p : 0) << dx;
        }
    }
    // Tune marker: four pixels, and only the moved meter changes.
    w.setLine(El::TMeter, 600, 2200 - 15 * 69, 600, 2200 - 15 * 73, kRed);
    EXPECT_EQ(barHeight(frame, px(600), QColor(255, 0, 0)), 4);
    EXPECT_EQ(barHeight(frame, px(250), QColor(255, 0, 0)), 142);
}

TEST_F(Window, StatusClickEmptiesItAndConfigureCallsTheCallback) {
    auto* status = w.element(El::StatusDisp);
    auto click = [status, in = QPointF(10, 5)](QPointF at) {  // pressed at `in`, released `at`
        QMouseEvent down(QEvent::MouseButtonPress, in, in, Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent up(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(status, &down);
        QCoreApplication::sendEvent(status, &up);
    };
    click({-20, -20});  // released off the label: no click
    EXPECT_EQ(w.text(El::StatusDisp), "Status Ok!");
    click({10, 5});
    EXPECT_EQ(w.text(El::StatusDisp), "");
    auto* button = qobject_cast<QPushButton*>(w.element(El::butConfig));
    ASSERT_NE(button, nullptr);
    button->click();  // nobody listening yet: nothing happens
    int calls = 0;
    w.onConfigClicked = [&calls] { ++calls; };
    button->click();
    EXPECT_EQ(calls, 1);
}

TEST_F(Window, LoadPictureKeepsTheOldPictureOnFailure) {
    const auto assets = std::filesystem::path(__FILE__).parent_path() / "../../assets";
    const std::string gnd = (assets / "Ant-GND-Win32.bmp").string();
    QLabel* mount = labelOf(w, El::Banner_AntOrientation);
    ASSERT_TRUE(w.loadPicture(El::Banner_AntOrientation, gnd));
    const QImage before = mount->pixmap().toImage();
    EXPECT_EQ(before.size(), QSize(30, 27));
    QTemporaryDir dir;
    const std::string junk = dir.filePath("junk.bmp").toStdString();
    ASSERT_TRUE(std::ofstream(junk) << "BM not really a bitmap");
    for (const std::string& path : {dir.filePath("missing.bmp").toStdString(), junk,
                                    dir.path().toStdString(), std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(w.loadPicture(El::Banner_AntOrientation, path));
        EXPECT_EQ(mount->pixmap().toImage(), before);
    }
    // Only picture elements take pictures.
    EXPECT_FALSE(w.loadPicture(El::StatusDisp, gnd));
    EXPECT_TRUE(labelOf(w, El::StatusDisp)->pixmap().isNull());
}

}  // namespace
}  // namespace kestrova
