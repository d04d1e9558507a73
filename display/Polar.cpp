#include "display/Polar.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
void DrawLine(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_Polar(Station& /*st*/, std::int16_t /*x*/, std::int16_t /*y*/, std::int16_t /*offset*/, bool /*relative*/, std::int16_t /*heading*/, bool /*airMount*/) {  }

}  // namespace kestrova
