#pragma once
#include "core/Station.h"
#include "protocol/AntennaPacket.h"

namespace kestrova {

// Takes an antenna line into the antenna record, redraws the model and band banners, and
// acknowledges when asked to.
void LoadAntSettings(Station& st, const AntennaLine& a, bool Acknowledge);

}  // namespace kestrova
