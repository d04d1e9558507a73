#include "status/AntennaDecoder.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
void LoadAntSettings(Station& /*st*/, const std::string& /*AntData*/, bool /*Acknowledge*/) {  }

}  // namespace kestrova
