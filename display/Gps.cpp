#include "display/Gps.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
void GPSDisplay(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void GPS_Blank(Station& /*st*/) {  }

}  // namespace kestrova
