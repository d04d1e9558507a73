#!/usr/bin/env bash
# Builds the libFuzzer harnesses in build-fuzz and runs each one for a bounded time on a copy
# of its seed corpus, so the committed corpora never grow. Exits non-zero on any finding;
# the input that caused it is kept in build-fuzz/findings/.
#
#   tools/fuzz.sh [seconds-per-harness (default 20)] [harness...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
shift || true
if [ $# -gt 0 ]; then
  harnesses=("$@")
else
  harnesses=()
  for d in fuzz/corpus/*/; do
    harnesses+=("$(basename "$d")")
  done
fi

jobs="${KESTROVA_JOBS:-$(nproc)}"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTROVA_FUZZ=ON -DKESTROVA_GUI=OFF -DBUILD_TESTING=OFF -DKESTROVA_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target kestrova_fuzzers

findings="build-fuzz/findings"
mkdir -p "$findings"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

failed=()
for h in "${harnesses[@]}"; do
  bin="build-fuzz/bin/fuzz_$h"
  if [ ! -x "$bin" ] || [ ! -d "fuzz/corpus/$h" ]; then
    echo "fuzz: no harness or seed corpus named '$h'" >&2
    failed+=("$h")
    continue
  fi
  corpus="$work/$h"
  mkdir -p "$corpus"
  cp -R "fuzz/corpus/$h/." "$corpus/"

  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$findings/$h-")
  [ -f "fuzz/dict/$h.dict" ] && args+=(-dict="fuzz/dict/$h.dict")
  # The receive path needs room for several large reads per input.
  [ "$h" = rxpath ] && args+=(-max_len=16384)

  log="$work/$h.log"
  if "$bin" "${args[@]}" "$corpus" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    echo "fuzz: $h ok (${runs:-?} runs in ${seconds}s)"
  else
    echo "fuzz: $h FAILED; input kept under $findings/" >&2
    tail -n 60 "$log" >&2
    failed+=("$h")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in: ${failed[*]}" >&2
  exit 1
fi
