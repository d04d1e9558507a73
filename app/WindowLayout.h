#pragma once
// The main window's design as data: every element with its container, kind, place and size in
// twips, its font and alignment; the lines; the texts and tooltips it opens with; the fixed
// pictures. The order of kLayout is the stacking order: later elements lie above earlier ones.

#include <QPixmap>
#include <array>

#include "core/Display.h"
#include "display/Bearing.h"
#include "display/Gps.h"
#include "widgets/Pictures.h"

namespace kestrova {

inline constexpr std::size_t kElementCount = static_cast<std::size_t>(El::Count_);
// Container value for elements that sit directly on the window.
inline constexpr El kWindow = El::Count_;

inline constexpr int kClientWidthTwips = 7350;
inline constexpr int kClientHeightTwips = 3390;

enum class ElementKind { Panel, Label, Picture, Gauge, TextBox, Button, StatusLine };
enum class Align { Left, Centre, TopLeft };

// Place and size in twips, relative to the container; the font's points (0: inherited).
struct ElementPlace {
    El el;
    El container;
    ElementKind kind;
    int left, top, width, height;
    double points = 0;
    bool bold = false;
    Align align = Align::Left;
};

// A line element's design ends in twips of its container.
struct LinePlace {
    El el;
    El container;
    int x1, y1, x2, y2;
    int widthPx;
    Rgb colour;
};

struct ElementText {
    El el;
    const char* text;  // Latin-1
};

struct BuiltInPicture {
    El el;
    QPixmap (*draw)(qreal dpr);
};

using K = ElementKind;
inline constexpr double kBanner = 9.75, kSmall = 8.25;

inline constexpr std::array<ElementPlace, 29> kLayout{{
    {El::FrameGainLocal, kWindow, K::Panel, 30, 0, 975, 495},
    {El::Banner_Video_Gain, El::FrameGainLocal, K::Label, 0, 0, 975, 225, kBanner},
    {El::Banner_Local_Remote, El::FrameGainLocal, K::Label, 0, 240, 980, 225, kBanner},
    {El::anggBrgDisplay, kWindow, K::Gauge, 360, 120, 3180, 3180},
    {El::FrameDOA, kWindow, K::Panel, 3120, 120, 855, 735},
    {El::ImageBackgroundDOA, El::FrameDOA, K::Picture, 0, 0, 810, 435},
    {El::DOA, El::FrameDOA, K::Label, 140, 80, 560, 225, 11.25, true, Align::Centre},
    {El::Banner_RelBear, El::FrameDOA, K::Label, 150, 430, 450, 225, kBanner, false, Align::Centre},
    {El::FrameMeters, kWindow, K::Panel, 3960, 0, 855, 2475},
    {El::ImageBackgroundMeters, El::FrameMeters, K::Picture, 0, 0, 870, 2460},
    {El::FrameDFOff, kWindow, K::Panel, 1560, 2400, 735, 375},
    {El::Banner_DF_Off, El::FrameDFOff, K::Picture, 0, 0, 735, 240},
    {El::FrameMode, kWindow, K::Panel, 3375, 2460, 1335, 495},
    {El::Banner_Op_Mode, El::FrameMode, K::Label, 0, 0, 1335, 225, kBanner},
    {El::Banner_IF_BW, El::FrameMode, K::Label, 0, 240, 1335, 225, kBanner},
    {El::FrameAnt, kWindow, K::Panel, 2880, 2955, 1830, 495},
    {El::Banner_Ant_Mod, El::FrameAnt, K::Label, 10, 0, 1815, 195, kBanner, false, Align::TopLeft},
    {El::Banner_Ant_Band, El::FrameAnt, K::Label, 10, 210, 1815, 195, kBanner, false,
     Align::TopLeft},
    {El::Banner_AntOrientation, kWindow, K::Picture, 15, 2925, 450, 405},
    {El::BatteryMeter, kWindow, K::Picture, 630, 3165, 420, 180},
    {El::ImageGPSBackground, kWindow, K::Picture, 4920, 360, 2370, 1815},
    {El::Banner_GPS_Sexa_Lat, kWindow, K::Label, 5400, 840, 1800, 225, kBanner},
    {El::Banner_GPS_Sexa_Lon, kWindow, K::Label, 5265, 1080, 1800, 225, kBanner},
    {El::Banner_GPS_Decimal_Lat, kWindow, K::Label, 5400, 1560, 1800, 225, kBanner},
    {El::Banner_GPS_Decimal_Lon, kWindow, K::Label, 5265, 1800, 1800, 225, kBanner},
    // Overlaps the top of the GPS picture and stays in front of it.
    {El::Textbox2, kWindow, K::TextBox, 4920, 120, 975, 285, kSmall},
    {El::butConfig, kWindow, K::Button, 5040, 2280, 2175, 495, kSmall},
    {El::LabelVersion, kWindow, K::Label, 5040, 2880, 2175, 180, kSmall},
    {El::StatusDisp, kWindow, K::StatusLine, 5040, 3120, 2175, 255, kSmall, false, Align::Centre},
}};

inline constexpr std::array<LinePlace, 3> kLines{{
    {El::SMeter, El::FrameMeters, kSMeterX, kMeterBaseline, kSMeterX, 1500, 3, kYellow},
    {El::TMeter, El::FrameMeters, kTMeterX, 1180, kTMeterX, 1100, 3, kYellow},
    {El::LineDivision, kWindow, 4845, 3240, 4845, 120, 2, kGrey},
}};

// What the labels say before the logic first writes to them.
inline constexpr std::array<ElementText, 16> kDesignTexts{{
    {El::Banner_Video_Gain, "---A"},
    {El::Banner_Local_Remote, "---A"},
    {El::Banner_Op_Mode, "---A"},
    {El::Banner_IF_BW, "---A"},
    {El::DOA, kBlankDOA},
    {El::Banner_RelBear, "REL"},
    {El::Banner_Ant_Mod, "ANT UNKNOWN"},
    {El::Banner_Ant_Band, ""},
    {kGpsLabels[0], kGpsBlank[0]},
    {kGpsLabels[1], kGpsBlank[1]},
    {kGpsLabels[2], kGpsBlank[2]},
    {kGpsLabels[3], kGpsBlank[3]},
    {El::butConfig, "Configure"},
    {El::LabelVersion, "Kestrova Release"},
    {El::StatusDisp, "Status Ok!"},
    {El::Textbox2, ""},
}};

// The status line's tooltip is its own.
inline constexpr std::array<ElementText, 7> kTips{{
    {El::butConfig, "Config Kestrova's Serial Port"},
    {El::DOA, "Numeric bearing display (000-359.)."},
    {El::Banner_RelBear, "Relative (no compass offsets) / Absolute bearings. "},
    {El::Banner_AntOrientation, "Standard/Inverted (upside-down) antenna mount."},
    {El::ImageBackgroundMeters, "S-meter/Tune-meter."},
    {El::ImageGPSBackground, "GPS Derived Current Location."},
    {El::anggBrgDisplay, "Polar bearing display."},
}};

// The fixed pictures, each drawn for a device pixel ratio.
inline constexpr std::array<BuiltInPicture, 5> kPictures{{
    {El::ImageBackgroundDOA, &pictures::bearingBackground},
    {El::ImageBackgroundMeters, &pictures::meterScales},
    {El::Banner_DF_Off, &pictures::dfOffSign},
    {El::BatteryMeter, &pictures::lowBatteryIcon},
    {El::ImageGPSBackground, &pictures::gpsBackground},
}};

inline constexpr std::size_t idx(El e) {
    return static_cast<std::size_t>(e);
}

}  // namespace kestrova
