#pragma once
// The local date and time are kept with the program's other clock.
#include "core/Clock.h"
