#!/usr/bin/env bash
# Builds the headless test suite with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan and runs it. Any sanitizer report fails the test that raised it.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${KESTROVA_JOBS:-$(nproc)}"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_SANITIZE=ON \
  -DKESTROVA_GUI=OFF -DKESTROVA_BENCH=OFF -DBUILD_TESTING=ON >/dev/null
cmake --build build-asan -j"$jobs"

# Leaks count as failures; an error report stops the program with a non-zero status.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

cd build-asan
ctest --output-on-failure -j"$jobs" --timeout 300
