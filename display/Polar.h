#pragma once
#include <cstdint>

#include "core/Station.h"
#include "protocol/BearingPacket.h"

namespace kestrova {

// Takes the bearing vector of a packet and turns the needle.
void DrawLine(Station& st, const BearingPacket& p);
// Needle angle, colour and strength from a vector and its corrections; (0,0,0,true,0,true)
// parks it.
void Draw_Polar(Station& st, std::int16_t x, std::int16_t y, std::int16_t offset, bool relative,
                std::int16_t heading, bool airMount);

}  // namespace kestrova
