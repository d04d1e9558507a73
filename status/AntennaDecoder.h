#pragma once
#include <string>

#include "app/Station.h"

namespace kestrova {

// Decodes an antenna line (type letter through CR LF) into the antenna record, redraws the
// model and band banners, and acknowledges when asked to.
void LoadAntSettings(Station& st, const std::string& AntData, bool Acknowledge);

}  // namespace kestrova
