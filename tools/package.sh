#!/usr/bin/env bash
# Builds the Debian package of Kestrova and prints its path.
#   tools/package.sh             a release build in build-package/, then the package
#   tools/package.sh BUILD_DIR   the package of a build that is already built (no building)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
  tools/install-deps.sh
  build=build-package
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKESTROVA_BENCH=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target kestrova kestrova-fix >/dev/null
else
  build=$1
fi
out=$(cd "$build" && pwd)/package
rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" > "$out.log" 2>&1 || { cat "$out.log" >&2; exit 1; }
rm -f "$out.log"
rm -rf "$out/_CPack_Packages"
ls "$out"/*.deb
