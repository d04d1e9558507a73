#include "link/Dispatch.h"

#include "core/BearingPacket.h"

namespace kestrova {

namespace {
// Within every cycle of 50 bearing packets: the readout on 24 and 48, the compass on 19 and
// 38, the meter on every third; the needle on every packet.
constexpr std::uint8_t kCycle = 50;
constexpr std::uint8_t kReadoutEvery = 24;
constexpr std::uint8_t kCompassEvery = 19;
constexpr std::uint8_t kMeterEvery = 3;
}  // namespace

void Dispatch::bearing() {
    const std::uint8_t n = ++st_.link.BPacketCount;
    if (n >= kCycle) {
        st_.link.BPacketCount = 0;
    }
    // A packet that lost a character is still framed as 18, but its fields are shifted: it
    // counts, and draws nothing.
    if (!ParseBearingPacket(st_.link.RxBuffer).framed) {
        return;
    }
    if (st_.status.DF_Enabled) {
        dec_.DrawLine();
        if (n % kReadoutEvery == 0) {
            dec_.DrawDigitalDOA();
        }
    }
    if (n % kCompassEvery == 0) {
        dec_.CompassUpdate();
    }
    if (n % kMeterEvery == 0) {
        MeterUpdate();
    }
}

void Dispatch::MeterUpdate() {
    const BearingPacket p = ParseBearingPacket(st_.link.RxBuffer);
    // Two decimal digits only: anything else is no number and no meter moves.
    if (p.meterValue) {
        dec_.Draw_Meter(p.signalMeter, *p.meterValue);
    }
}

void Dispatch::status() {
    dec_.ProcessStatusString();
}

void Dispatch::antenna(const std::string& line) {
    dec_.LoadAntSettings(line, true);
}

void Dispatch::gps() {
    // Only a position actually shown re-arms the time-out, so no fix outlives it.
    if (dec_.GPSDisplay()) {
        GPSTimeOut_.start();
        st_.link.GPSTimedOut = 0;
    }
}

}  // namespace kestrova
