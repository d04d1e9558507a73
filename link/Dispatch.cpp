#include "link/Dispatch.h"

namespace kestrova {

namespace {
constexpr std::uint8_t kCycle = 50;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

void Dispatch::bearing() {
    ++st_.BPacketCount;
    const std::uint8_t n = st_.BPacketCount;
    // A packet that lost a character is still framed as 18, but its fields are shifted: it
    // counts, and draws nothing.
    const std::string& b = st_.RxBuffer;
    if (b.size() < 18 || b[16] != '\r' || b[17] != '\n') {
        if (n >= kCycle) {
            st_.BPacketCount = 0;
        }
        return;
    }
    if (st_.DF_Enabled) {
        dec_.DrawLine();
        if (n % 24 == 0) {
            dec_.DrawDigitalDOA();
        }
    }
    if (n % 19 == 0) {
        dec_.CompassUpdate();
    }
    if (n % 3 == 0) {
        MeterUpdate();
    }
    if (n >= kCycle) {
        st_.BPacketCount = 0;
    }
}

void Dispatch::MeterUpdate() {
    const std::string& b = st_.RxBuffer;
    // Two decimal digits only: anything else is no number and no meter moves.
    if (b.size() < 12 || !isDigit(b[10]) || !isDigit(b[11])) {
        return;
    }
    const int value = (b[10] - '0') * 10 + (b[11] - '0');
    dec_.Draw_Meter(b[9] == 'S', value);
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
        st_.GPSTimedOut = 0;
    }
}

}  // namespace kestrova
