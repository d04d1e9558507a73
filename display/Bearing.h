#pragma once
// Bearing arithmetic shared by both bearing displays, the digital readout and the compass.
#include <cstdint>
#include <string>

#include "core/Station.h"
#include "protocol/BearingPacket.h"

namespace kestrova {

// Fills MagTable: entry (x, y) is sqrt(x*x + y*y) to the nearest whole number.
void CreateTables(Station& st);
// Vector length through MagTable, capped at 99; -1 when a component exceeds 100.
std::int16_t VectorMagnitude(const Station& st, int x, int y);
// Angle of the vector in degrees, clockwise from +y, single precision, 0 <= angle < 360.
float XY_Angle(const Station& st, float x, float y);

void DrawDigitalDOA(Station& st);
std::int16_t ABS_Angle(const Station& st, const std::int16_t& Ang);
void DigitalDOA_Blank(Station& st);
void CompassUpdate(Station& st, const BearingPacket& packet);
// "REL" or "ABS" on its banner, from RelBearMode.
void Draw_RelBear(Station& st);

// The bearings stopped, the link lost or direction finding off (then its sign shows): the
// needle parks, the readout blanks, and whoever keeps past bearings drops them.
void StopBearings(Station& st, bool directionFindingOff);

// The readout of a bearing of 0..3599 tenths: three digits of whole degrees, never rounded
// up, then a dot for tenths 3 to 7 (about half a degree more) or a blank.
std::string ReadoutText(int tenths);
// The degrees that readout stands for: 123 for "123 ", 123.5 for "123.".
double ShownDegrees(int tenths);

// What the readout shows while there is no bearing.
inline constexpr char kBlankDOA[] = " - - -";

}  // namespace kestrova
