#pragma once
#include "app/Station.h"

namespace kestrova {

// Decodes the status line at the head of RxBuffer into the device-status record, redraws the
// banners whose value changed and answers the processor.
void ProcessStatusString(Station& st);

}  // namespace kestrova
