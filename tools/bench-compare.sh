#!/usr/bin/env bash
# The headless benchmarks of two commits in one run: each built headless and optimised in a
# temporary folder, then run in turn, round after round, so that both see the same load.
# Prints each benchmark's CPU time of the second as a ratio to the first's, with the range
# over the rounds. Usage: tools/bench-compare.sh OLD_COMMIT [NEW_COMMIT] [ROUNDS] [FILTER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
old=$1 new=${2:-HEAD} rounds=${3:-7} filter=${4:-ReceivePath|PacketLineToNeedle|DrawDigitalDOA}
work=$(mktemp -d /tmp/kestrova-compare.XXXXXX)
trap 'git -C "$root" worktree remove --force "$work/old" 2>/dev/null || true
      git -C "$root" worktree remove --force "$work/new" 2>/dev/null || true; rm -rf "$work"' EXIT
for side in old new; do
  git -C "$root" worktree add -q --detach "$work/$side" "${!side}"
  cmake -S "$work/$side" -B "$work/$side/build" -DCMAKE_BUILD_TYPE=Release -DKESTROVA_GUI=OFF \
    -DKESTROVA_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$work/$side/build" -j2 --target kestrova_bench >/dev/null
done
for ((r = 0; r < rounds; r++)); do
  for side in old new; do
    "$work/$side/build/bin/kestrova_bench" --benchmark_filter="$filter" \
      --benchmark_min_time=0.3 --benchmark_format=json > "$work/$side-$r.json" 2>/dev/null
  done
done
python3 - "$work" "$rounds" "$old" "$new" <<'PY'
import json, statistics, sys
work, rounds, old, new = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
def times(side, r):
    return {b["name"]: b["cpu_time"] for b in json.load(open(f"{work}/{side}-{r}.json"))["benchmarks"]}
print(f"CPU time of {new} / {old}, {rounds} rounds: median (range)")
for name in times("old", 0):
    ratios = [times("new", r)[name] / times("old", r)[name] for r in range(rounds)]
    ns = statistics.median(times("old", r)[name] for r in range(rounds))
    print(f"{name:40s} {statistics.median(ratios):.2f} ({min(ratios):.2f}-{max(ratios):.2f})"
          f"   old {ns:.0f} ns")
PY
