#include "display/FormatDot.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
std::string FormatDot(const std::string& /*DataString*/, const std::string& /*Formatting*/) { return {}; }

}  // namespace kestrova
