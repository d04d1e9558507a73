#include "app/StationDecoders.h"

#include "display/Bearing.h"
#include "display/Gps.h"
#include "display/Meters.h"
#include "display/Polar.h"
#include "status/AntennaDecoder.h"
#include "status/StatusDecoder.h"

namespace kestrova {

void StationDecoders::DrawLine(const BearingPacket& packet) {
    kestrova::DrawLine(st_, packet);
}
void StationDecoders::DrawDigitalDOA() {
    kestrova::DrawDigitalDOA(st_);
}
void StationDecoders::CompassUpdate(const BearingPacket& packet) {
    kestrova::CompassUpdate(st_, packet);
}
void StationDecoders::Draw_Meter(bool isSMeter, std::int32_t value) {
    kestrova::Draw_Meter(st_, isSMeter, value);
}
void StationDecoders::ProcessStatusString(const StatusLine& line) {
    kestrova::ProcessStatusString(st_, line);
}
void StationDecoders::LoadAntSettings(const AntennaLine& line, bool Acknowledge) {
    kestrova::LoadAntSettings(st_, line, Acknowledge);
}
void StationDecoders::GPSDisplay(const GpsFix& fix) {
    kestrova::GPSDisplay(st_, fix);
}
void StationDecoders::StopBearings() {
    kestrova::StopBearings(st_, false);
}
void StationDecoders::GPS_Blank() {
    kestrova::GPS_Blank(st_);
}

}  // namespace kestrova
