#!/usr/bin/env bash
# A simulated drive past a transmitter through the built program with its bearing log on,
# then kestrova-fix on that log: the fix must hold the simulated transmitter within its own
# 95 % ellipse. Usage: tools/e2e-fix.sh BIN_DIR [SIMULATOR OPTION...]
set -euo pipefail
bin=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/sim-session.sh"

session_open kestrova-e2e-fix
# 35 s of the straight road at 200 km/h, GPS five times a second: about 140 readouts.
session_sim --scenario "$here/sim/scenarios/drive-past.scn" --duration 35 --drive-speed 200 \
  --gps-every 0.2 "$@"
session_setting "BearingLogFile=bearings.csv"
session_app
session_verdict
[ $status -eq 0 ] || { echo "the simulator's verdict failed"; exit 1; }
truth=$(sed -n 's/^transmitter: //p' "$sim_log")
status=0
"$bin"/kestrova-fix --json "$work/bearings.csv" > "$work/fix.json" || status=$?
cat "$work/fix.json"
[ $status -eq 0 ] || { echo "kestrova-fix found no fix (exit $status)"; exit 1; }
python3 - "$truth" "$work/fix.json" <<'PY'
import json, math, sys
lat, lon = map(float, sys.argv[1].split())
f = json.load(open(sys.argv[2]))
# East and north from the fix to the truth, flat over a few hundred metres.
r = 6371008.8
east = math.radians(lon - f["fix"]["longitude"]) * r * math.cos(math.radians(lat))
north = math.radians(lat - f["fix"]["latitude"]) * r
e = f["ellipse95"]
axis = math.radians(e["orientation_deg"])
along = east * math.sin(axis) + north * math.cos(axis)
across = east * math.cos(axis) - north * math.sin(axis)
inside = (along / e["semi_major_m"]) ** 2 + (across / e["semi_minor_m"]) ** 2
print(f"truth {lat} {lon}: {math.hypot(east, north):.0f} m from the fix, "
      f"{math.sqrt(inside):.2f} of the way to the 95 % ellipse's edge "
      f"({f['bearings']['used']} of {f['bearings']['given']} bearings used)")
sys.exit(0 if inside <= 1 and f["bearings"]["given"] >= 80 else 1)
PY
