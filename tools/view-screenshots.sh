#!/usr/bin/env bash
# Makes the README's pictures of the view options: the real program against the simulator
# under Xvfb, with the options in its settings file, the screen just the window's size.
# Usage: tools/view-screenshots.sh BIN_DIR OUT_DIR [SECONDS]
set -euo pipefail
bin=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)
seconds=${3:-14}
. "$(dirname "$0")/sim-session.sh"

# shot NAME WIDTHxHEIGHT SETTINGS...: one run with those settings lines added.
shot() {
  local name=$1 size=$2
  shift 2
  session_open kestrova-shot
  session_sim --duration $((seconds + 5)) --no-pauses --seed 11
  for line in "$@"; do printf '%s\r\n' "$line" >> "$work/Kestrova.ini"; done
  cp "$work/Kestrova.ini" "$work/Kestrova.bak"
  xvfb-run -a -s "-screen 0 ${size}x24" bash -c '
    "$1"/kestrova --port "$1"/pty & app=$!
    sleep "$2"
    import -window root "$3"
    kill $app; wait $app 2>/dev/null || true
  ' shot "$work" "$seconds" "$out/$name.png"
  session_close
  trap - EXIT
  echo "$out/$name.png"
}

shot history 490x226 History=120
shot night 490x226 Palette=night History=120
shot window-scale2 980x452 Scale=2
