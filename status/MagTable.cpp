#include "status/MagTable.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
void CreateTables(Station& /*st*/) {  }

}  // namespace kestrova
