#!/usr/bin/env bash
# Builds Kestrova and starts it. Without a display it runs headless for ten seconds and writes
# a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kestrova

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/kestrova
fi

shot="$PWD/build/kestrova-screenshot.png"
xvfb-run -a -s "-screen 0 800x400x24" bash -c '
  build/bin/kestrova & pid=$!
  sleep 10
  import -window root "'"$shot"'"
  kill $pid; wait $pid 2>/dev/null || true
'
echo "Screenshot: $shot"
