#pragma once
#include "app/Station.h"

namespace kestrova {

void GPSDisplay(Station& st);
void GPS_Blank(Station& st);

}  // namespace kestrova
