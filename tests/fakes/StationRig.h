#pragma once
// The whole headless station: the receive link bound to the real decoders, on fakes.
#include "tests/fakes/LinkRig.h"
