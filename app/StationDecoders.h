#pragma once
// The receive link's decoder seam bound to the real procedures of the station.

#include "core/Station.h"
#include "link/Decoders.h"

namespace kestrova {

class StationDecoders : public Decoders {
  public:
    explicit StationDecoders(Station& st) : st_(st) {}

    void DrawLine(const BearingPacket& packet) override;
    void DrawDigitalDOA() override;
    void CompassUpdate(const BearingPacket& packet) override;
    void Draw_Meter(bool isSMeter, std::int32_t value) override;
    void ProcessStatusString(const StatusLine& line) override;
    void LoadAntSettings(const AntennaLine& line, bool Acknowledge) override;
    void GPSDisplay(const GpsFix& fix) override;
    void StopBearings() override;
    void GPS_Blank() override;

  private:
    Station& st_;
};

}  // namespace kestrova
