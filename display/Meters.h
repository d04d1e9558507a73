#pragma once
#include <cstdint>

#include "core/Station.h"

namespace kestrova {

void Draw_Meter(Station& st, bool isSMeter, std::int32_t value);

}  // namespace kestrova
