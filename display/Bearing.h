#pragma once
// Bearing arithmetic shared by both bearing displays, the digital readout and the compass.
#include <cstdint>

#include "core/Station.h"

namespace kestrova {

// Angle of the vector in degrees, clockwise from +y, single precision, 0 <= angle < 360.
float XY_Angle(const Station& st, float x, float y);
// Vector length through MagTable, capped at 99; -1 when a component exceeds 100.
std::int16_t VectorMagnitude(const Station& st, int x, int y);
void DrawDigitalDOA(Station& st);
std::int16_t ABS_Angle(const Station& st, const std::int16_t& Ang);
void DigitalDOA_Blank(Station& st);
void CompassUpdate(Station& st);
// "REL" or "ABS" on its banner, from RelBearMode.
void Draw_RelBear(Station& st);

// What the readout shows while there is no bearing.
inline constexpr char kBlankDOA[] = " - - -";

}  // namespace kestrova
