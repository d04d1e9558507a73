#include "app/StationDecoders.h"

#include "display/Bearing.h"
#include "display/Gps.h"
#include "display/Meters.h"
#include "display/Polar.h"
#include "status/AntennaDecoder.h"
#include "status/StatusDecoder.h"

namespace kestrova {

void StationDecoders::DrawLine() {
    kestrova::DrawLine(st_);
}
void StationDecoders::DrawDigitalDOA() {
    kestrova::DrawDigitalDOA(st_);
}
void StationDecoders::CompassUpdate() {
    kestrova::CompassUpdate(st_);
}
void StationDecoders::Draw_Meter(bool isSMeter, std::int32_t value) {
    kestrova::Draw_Meter(st_, isSMeter, value);
}
void StationDecoders::ProcessStatusString() {
    kestrova::ProcessStatusString(st_);
}
void StationDecoders::LoadAntSettings(const std::string& AntData, bool Acknowledge) {
    kestrova::LoadAntSettings(st_, AntData, Acknowledge);
}
bool StationDecoders::GPSDisplay() {
    return kestrova::GPSDisplay(st_);
}
void StationDecoders::Draw_Polar(std::int16_t x, std::int16_t y, std::int16_t offset, bool relative,
                                 std::int16_t heading, bool airMount) {
    kestrova::Draw_Polar(st_, x, y, offset, relative, heading, airMount);
}
void StationDecoders::DigitalDOA_Blank() {
    // Through this seam only link supervision blanks the readout: the bearings stopped.
    st_.ui.bearingsStopped();
    kestrova::DigitalDOA_Blank(st_);
}
void StationDecoders::GPS_Blank() {
    kestrova::GPS_Blank(st_);
}

}  // namespace kestrova
