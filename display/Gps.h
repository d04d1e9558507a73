#pragma once
#include "app/Station.h"

namespace kestrova {

// False when the packet holds no position to show; the labels then stay as they were.
bool GPSDisplay(Station& st);
void GPS_Blank(Station& st);

}  // namespace kestrova
