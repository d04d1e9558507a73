#!/usr/bin/env bash
# Builds Kestrova and runs every test: the fuzzers for a bounded time each, the headless suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the whole suite with the
# end-to-end tests.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --test

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DKESTROVA_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)"

tools/fuzz.sh "${KESTROVA_FUZZ_SECONDS:-10}"
tools/sanitize.sh

(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
