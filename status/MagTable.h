#pragma once
#include "core/Station.h"

namespace kestrova {

// Fills MagTable: entry (x, y) is sqrt(x*x + y*y) to the nearest whole number.
void CreateTables(Station& st);

}  // namespace kestrova
