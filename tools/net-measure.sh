#!/usr/bin/env bash
# Measures the program on the network against a real ser2net (bench/net_measure.cpp): the
# time from the processor to the receive buffer, raw and with serial port control; how soon
# it answers again after ser2net restarts, and its CPU meanwhile; and, as root, a pulled
# cable (ser2net in a network namespace of its own whose link is taken down).
# Usage: tools/net-measure.sh [BUILD_DIR (default build)] [PACKETS (default 1000)]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build} packets=${2:-1000}
cmake --build "$build" -j2 --target kestrova_net_measure >/dev/null
m="$build/bin/kestrova_net_measure"
echo "load before: $(uptime | sed 's/.*load average: //')"
"$m" latency tcp "$packets" 2>/dev/null
"$m" latency rfc2217 "$packets" 2>/dev/null
"$m" restart 5 2>/dev/null
if [ "$(id -u)" = 0 ]; then
  "$m" cable 2>/dev/null
else
  echo "cable: skipped (needs root)"
fi
echo "load after: $(uptime | sed 's/.*load average: //')"
