#pragma once
// The four packet handlers and the cadence at which bearing packets refresh the displays.
// Each packet is parsed once, here, and its record handed on.

#include <string_view>

#include "core/Station.h"
#include "core/Timer.h"
#include "link/Decoders.h"
#include "protocol/Framing.h"

namespace kestrova {

class Dispatch {
  public:
    Dispatch(Station& st, Decoders& decoders, Timer& gpsTimeOut)
        : st_(st), dec_(decoders), GPSTimeOut_(gpsTimeOut) {}

    // The packet at the head of RxBuffer, framed; the caller removes it afterwards.
    void packet(PacketType type, std::string_view text);

  private:
    void bearing(std::string_view text);
    void MeterUpdate(const BearingPacket& p);
    void gps(std::string_view text);

    Station& st_;
    Decoders& dec_;
    Timer& GPSTimeOut_;
};

}  // namespace kestrova
