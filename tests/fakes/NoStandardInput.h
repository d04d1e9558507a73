#pragma once
// Runs f as a program started without a standard input runs: descriptor 0 is free, so the
// first file it opens gets it. Returns what f returns.

#include <unistd.h>

namespace kestrova::testing {

template <class F>
auto withoutStandardInput(F f) {
    const int saved = ::dup(0);
    ::close(0);
    const auto result = f();
    ::dup2(saved, 0);
    ::close(saved);
    return result;
}

}  // namespace kestrova::testing
