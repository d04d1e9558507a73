#include "status/StatusDecoder.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
void ProcessStatusString(Station& /*st*/) {  }

}  // namespace kestrova
