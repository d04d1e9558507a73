#include "link/Dispatch.h"

namespace kestrova {

namespace {
// Within every cycle of 50 bearing packets: the readout on 24 and 48, the compass on 19 and
// 38, the meter on every third; the needle on every packet.
constexpr std::uint8_t kCycle = 50;
constexpr std::uint8_t kReadoutEvery = 24;
constexpr std::uint8_t kCompassEvery = 19;
constexpr std::uint8_t kMeterEvery = 3;
}  // namespace

void Dispatch::packet(PacketType type, std::string_view text) {
    switch (type) {
        case PacketType::Bearing:
            bearing(text);
            break;
        case PacketType::Status:
            dec_.ProcessStatusString(ParseStatusLine(text));
            break;
        case PacketType::Antenna:
            dec_.LoadAntSettings(ParseAntennaLine(text), true);
            break;
        case PacketType::Gps:
            gps(text);
            break;
    }
}

void Dispatch::bearing(std::string_view text) {
    const std::uint8_t n = ++st_.link.BPacketCount;
    if (n >= kCycle) {
        st_.link.BPacketCount = 0;
    }
    const BearingPacket p = ParseBearingPacket(text);
    // A packet that lost a character is still framed as 18, but its fields are shifted: it
    // counts, and draws nothing.
    if (!p.framed) {
        return;
    }
    if (st_.status.DF_Enabled) {
        dec_.DrawLine(p);
        if (n % kReadoutEvery == 0) {
            dec_.DrawDigitalDOA();
        }
    }
    if (n % kCompassEvery == 0) {
        dec_.CompassUpdate(p);
    }
    if (n % kMeterEvery == 0) {
        MeterUpdate(p);
    }
}

void Dispatch::MeterUpdate(const BearingPacket& p) {
    // Two decimal digits only: anything else is no number and no meter moves.
    if (p.meterValue) {
        dec_.Draw_Meter(p.signalMeter, *p.meterValue);
    }
}

void Dispatch::gps(std::string_view text) {
    // Only a position actually shown re-arms the time-out, so no fix outlives it.
    if (const auto fix = ParseGpsPacket(text)) {
        dec_.GPSDisplay(*fix);
        GPSTimeOut_.start();
        st_.link.GPSTimedOut = 0;
    }
}

}  // namespace kestrova
