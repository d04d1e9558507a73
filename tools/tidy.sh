#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy at the root) over the production code as a configured build
# compiles it, in parallel; exits non-zero on any finding. moc's output is not checked.
#   tools/tidy.sh [build-dir (default build)] [folder...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
shift || true
folders=("$@")
if [ ${#folders[@]} -eq 0 ]; then
  folders=(core protocol display fix status link net output settings widgets map app tools/sim tools/fix)
fi

tidy="$(command -v clang-tidy-14 || command -v clang-tidy)"
runner="$(command -v run-clang-tidy-14 || command -v run-clang-tidy)"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy: no compile_commands.json in $build (configure it first)" >&2
  exit 2
fi

# The sources of these folders, matched in the compilation database.
escape() { sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$1"; }
alternatives="$(IFS='|'; echo "${folders[*]}")"
files="^$(escape "$root")/($alternatives)/[^/]+\\.cpp\$"

count="$(python3 -c 'import json, re, sys
print(sum(bool(re.search(sys.argv[2], e["file"])) for e in json.load(open(sys.argv[1]))))' \
  "$build/compile_commands.json" "$files")"
if [ "$count" -eq 0 ]; then
  echo "tidy: no sources of ${folders[*]} in $build/compile_commands.json" >&2
  exit 2
fi

start=$SECONDS
set +e
# The database may be GCC's, whose warning options clang does not all know. The runner
# always colours and names each file it starts; only the findings are kept.
"$runner" -clang-tidy-binary "$tidy" -p "$build" -quiet -j "${KESTROVA_JOBS:-$(nproc)}" \
  -extra-arg=-Wno-unknown-warning-option "$files" 2>&1 |
  sed 's/\x1b\[[0-9;]*m//g' | grep -v -e "^$tidy " -e '^[0-9]* warnings\? generated\.$'
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
  echo "tidy: findings in ${folders[*]} (above)" >&2
  exit 1
fi
echo "tidy: no findings in $count files of ${folders[*]} ($((SECONDS - start)) s)"
