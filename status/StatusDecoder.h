#pragma once
#include "core/Station.h"
#include "protocol/StatusPacket.h"

namespace kestrova {

// Takes a status line into the device-status record, redraws the banners whose value
// changed and answers the processor.
void ProcessStatusString(Station& st, const StatusLine& s);

}  // namespace kestrova
