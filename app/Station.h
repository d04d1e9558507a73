#pragma once
// The main window's variables and the outlets its procedures write to. Every Part's
// procedures take the Station; each variable is written only by the procedures that own it.

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "display/Display.h"
#include "link/SerialLine.h"

namespace kestrova {

using MagTableT = std::array<std::array<std::uint8_t, 101>, 101>;

struct Station {
    Station(Display& display, SerialLine& line) : ui(display), Comm1(line) {}

    Display& ui;
    SerialLine& Comm1;
    std::string dataFolder;  // holds the antenna-mount pictures

    // Receive link
    std::string RxBuffer;
    std::uint8_t BusyTickCount = 0;
    std::uint8_t BPacketCount = 0;
    std::uint8_t IdleTickCount = 0;
    std::int16_t LinkState = 0;
    std::int16_t GPSTimedOut = 0;

    // Device status
    std::string Op_Mode;
    std::string IF_BW;
    bool AntAirMount = false;
    std::string Local_Remote;
    std::string Video_Gain;
    std::uint8_t BandIndex = 0;
    bool DF_Enabled = true;

    // Antenna record: entries 1..15 are written, 0 and 16 stay empty
    std::string Ant_Model;
    std::array<std::string, 17> BandText{};
    std::array<float, 17> BandOffset{};
    MagTableT MagTable{};

    // Bearing
    std::int16_t VectX = 0;
    std::int16_t VectY = 0;
    std::int16_t SignalMag = 0;
    std::int16_t DOA_Tenths = 0;
    bool RelBearMode = true;
    std::int16_t CompassHeading = 999;
    char CompassFlag = 'P';
    float TwoPi = static_cast<float>(8.0 * std::atan(1.0));
};

}  // namespace kestrova
