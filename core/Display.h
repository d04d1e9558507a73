#pragma once
// The window's display elements as the headless logic sees them. Texts are Latin-1: one
// character per byte, as they arrive on the serial line (the degree sign is "\xB0").

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kNeedleGreen{0, 255, 64};
inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// The window's colours: as designed, or dim red on black for night use.
enum class Palette { Day, Night };

// Every element of the main window that the logic may touch.
enum class El {
    FrameGainLocal,
    Banner_Video_Gain,
    Banner_Local_Remote,
    anggBrgDisplay,
    FrameDOA,
    DOA,
    Banner_RelBear,
    ImageBackgroundDOA,
    FrameMeters,
    SMeter,
    TMeter,
    ImageBackgroundMeters,
    FrameDFOff,
    Banner_DF_Off,
    FrameMode,
    Banner_Op_Mode,
    Banner_IF_BW,
    FrameAnt,
    Banner_Ant_Mod,
    Banner_Ant_Band,
    Banner_AntOrientation,
    BatteryMeter,
    LineDivision,
    Textbox2,
    ImageGPSBackground,
    Banner_GPS_Sexa_Lat,
    Banner_GPS_Sexa_Lon,
    Banner_GPS_Decimal_Lat,
    Banner_GPS_Decimal_Lon,
    butConfig,
    LabelVersion,
    StatusDisp,
    Count_
};

const char* elementName(El e);

// The meter panel FrameMeters, in its own twips: both scales start at the baseline, the
// signal bar at x 250 and the tune marker at x 600, drawn in whole screen pixels above it.
inline constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch, the design's screen
inline constexpr int kMeterBaseline = 2200;
inline constexpr int kSMeterX = 250;
inline constexpr int kTMeterX = 600;

class Display {
  public:
    virtual ~Display() = default;

    virtual void setText(El e, std::string_view latin1) = 0;
    virtual void setTextColour(El e, Rgb colour) = 0;
    virtual void setVisible(El e, bool visible) = 0;
    // Loads a picture file into e. On failure the element keeps what it showed and false
    // comes back.
    virtual bool loadPicture(El e, const std::string& path) = 0;
    // A line element's ends, in twips of its container, and its colour.
    virtual void setLine(El e, int x1, int y1, int x2, int y2, Rgb colour) = 0;

    // The needle gauge.
    virtual void setNeedleValue(double degrees) = 0;
    virtual void setNeedleColour(Rgb colour) = 0;
    virtual void setNeedleStrength(double fraction) = 0;

    // Height of one screen pixel in twips (15 at 96 dpi), read afresh by every caller.
    virtual double twipsPerPixelY() const = 0;
};

}  // namespace kestrova
