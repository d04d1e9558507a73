#pragma once
// The procedures the receive link calls out to: decoders, blanking and parking. One seam, so
// the link can be driven and checked without the displays.

#include <cstdint>
#include <string>

namespace kestrova {

class Decoders {
  public:
    virtual ~Decoders() = default;

    virtual void DrawLine() = 0;
    virtual void DrawDigitalDOA() = 0;
    virtual void CompassUpdate() = 0;
    virtual void Draw_Meter(bool isSMeter, std::int32_t value) = 0;
    virtual void ProcessStatusString() = 0;
    virtual void LoadAntSettings(const std::string& AntData, bool Acknowledge) = 0;
    // True when the four labels now show the packet's position.
    virtual bool GPSDisplay() = 0;
    virtual void Draw_Polar(std::int16_t x, std::int16_t y, std::int16_t offset, bool relative,
                            std::int16_t heading, bool airMount) = 0;
    virtual void DigitalDOA_Blank() = 0;
    virtual void GPS_Blank() = 0;
};

}  // namespace kestrova
