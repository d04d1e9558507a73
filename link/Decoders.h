#pragma once
// The procedures the receive link hands its packets' records to, and the blanking it asks
// for. One seam, so the link can be driven and checked without the displays.

#include <cstdint>

#include "protocol/AntennaPacket.h"
#include "protocol/BearingPacket.h"
#include "protocol/GpsPacket.h"
#include "protocol/StatusPacket.h"

namespace kestrova {

class Decoders {
  public:
    virtual ~Decoders() = default;

    virtual void DrawLine(const BearingPacket& packet) = 0;
    virtual void DrawDigitalDOA() = 0;
    virtual void CompassUpdate(const BearingPacket& packet) = 0;
    virtual void Draw_Meter(bool isSMeter, std::int32_t value) = 0;
    virtual void ProcessStatusString(const StatusLine& line) = 0;
    virtual void LoadAntSettings(const AntennaLine& line, bool Acknowledge) = 0;
    virtual void GPSDisplay(const GpsFix& fix) = 0;
    // The link was lost: the needle parks and the readout blanks.
    virtual void StopBearings() = 0;
    virtual void GPS_Blank() = 0;
};

}  // namespace kestrova
