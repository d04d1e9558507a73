#pragma once
#include <cstdint>

#include "app/Station.h"

namespace kestrova {

void Draw_Meter(Station& st, bool isSMeter, std::int32_t value);

}  // namespace kestrova
