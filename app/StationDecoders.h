#pragma once
// The receive link's decoder seam bound to the real procedures of the station.

#include "core/Station.h"
#include "link/Decoders.h"

namespace kestrova {

class StationDecoders : public Decoders {
  public:
    explicit StationDecoders(Station& st) : st_(st) {}

    void DrawLine() override;
    void DrawDigitalDOA() override;
    void CompassUpdate() override;
    void Draw_Meter(bool isSMeter, std::int32_t value) override;
    void ProcessStatusString() override;
    void LoadAntSettings(const std::string& AntData, bool Acknowledge) override;
    bool GPSDisplay() override;
    void Draw_Polar(std::int16_t x, std::int16_t y, std::int16_t offset, bool relative,
                    std::int16_t heading, bool airMount) override;
    void DigitalDOA_Blank() override;
    void GPS_Blank() override;

  private:
    Station& st_;
};

}  // namespace kestrova
