#include "display/Meters.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
void Draw_Meter(Station& /*st*/, bool /*isSMeter*/, std::int32_t /*value*/) {  }

}  // namespace kestrova
