#!/usr/bin/env bash
# Builds Kestrova and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
