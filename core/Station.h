#pragma once
// The main window's variables, grouped by the records that own them, and the outlets its
// procedures write to. Every procedure takes the Station; each variable is written only by
// the procedures of the subsystem that owns its record.

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "core/Clock.h"
#include "core/Display.h"
#include "core/ReadingListeners.h"
#include "core/SerialLine.h"

namespace kestrova {

using MagTableT = std::array<std::array<std::uint8_t, 101>, 101>;

// LinkState's values.
inline constexpr std::int16_t kLinkStopped = 0;  // data stopped; Timer1 runs, nothing blanked yet
inline constexpr std::int16_t kLinkBlanked = 1;  // data stopped and the bearing displays blanked
inline constexpr std::int16_t kLinkFlowing = 2;  // data flowing; Timer1 stopped

// The receive link: buffer, tick counters, link supervision.
struct LinkRecord {
    std::string RxBuffer;
    std::uint8_t BusyTickCount = 0;
    std::uint8_t BPacketCount = 0;
    std::uint8_t IdleTickCount = 0;
    std::int16_t LinkState = kLinkStopped;
    std::int16_t GPSTimedOut = 0;
};

// What the status packet reports.
struct DeviceStatus {
    std::string Op_Mode;
    std::string IF_BW;
    bool AntAirMount = false;
    std::string Local_Remote;
    std::string Video_Gain;
    std::uint8_t BandIndex = 0;
    bool DF_Enabled = true;
};

// The last band an antenna record names; a larger BandIndex is shown as this one.
inline constexpr std::uint8_t kLastBand = 15;

// What the antenna packet reports: entries 1..15 are written, 0 and 16 stay empty.
struct AntennaRecord {
    inline static constexpr std::size_t kEntries = 17;
    std::string Ant_Model;
    std::array<std::string, kEntries> BandText{};
    std::array<float, kEntries> BandOffset{};
};

// The bearing state both bearing displays work from.
inline constexpr std::int16_t kNoCompass = 999;
inline constexpr std::int16_t kMagnitudeCap = 99;  // the strongest signal shown

struct BearingRecord {
    std::int16_t VectX = 0;
    std::int16_t VectY = 0;
    std::int16_t SignalMag = 0;
    std::int16_t DOA_Tenths = 0;
    bool RelBearMode = true;
    std::int16_t CompassHeading = kNoCompass;
    char CompassFlag = 'P';
    float TwoPi = static_cast<float>(8.0 * std::atan(1.0));
    MagTableT MagTable{};
};

struct Station {
    Station(Display& display, SerialLine& line, const Clocks& clocksUsed = SystemClocks())
        : ui(display), Comm1(line), clocks(clocksUsed) {}

    // When something is shown, for those told of it.
    Stamp now() const { return {clocks.steady.nowMs(), clocks.local.now()}; }

    Display& ui;
    SerialLine& Comm1;
    const Clocks& clocks;
    ReadingListeners readings;  // told what the displays show
    std::string dataFolder;     // holds the antenna-mount pictures

    LinkRecord link;
    DeviceStatus status;
    AntennaRecord antenna;
    BearingRecord bearing;
    std::optional<GeoPosition> positionShown;  // on the GPS labels; none while they are blanked
};

}  // namespace kestrova
