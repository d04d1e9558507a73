#include "display/Bearing.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
float XY_Angle(const Station& /*st*/, float /*x*/, float /*y*/) { return 0; }

// TODO(stub): replaced by the real procedure
std::int16_t VectorMagnitude(const Station& /*st*/, int /*x*/, int /*y*/) { return 0; }

// TODO(stub): replaced by the real procedure
void DrawDigitalDOA(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
std::int16_t ABS_Angle(const Station& /*st*/, const std::int16_t& /*Ang*/) { return 0; }

// TODO(stub): replaced by the real procedure
void DigitalDOA_Blank(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void CompassUpdate(Station& /*st*/) {  }

}  // namespace kestrova
