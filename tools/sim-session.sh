# Shared by the scripts that run the built program against the simulator; source it.
# A session lives in its own folder: a portable copy of the program with the default
# settings, started on the simulator's pseudo-terminal. The caller sets $bin (the build's bin
# folder) first.

# Makes the session folder from the prefix $1 and removes it, and stops both programs, on exit.
session_open() {
  work=$(mktemp -d "/tmp/$1-XXXXXX")
  trap session_close EXIT
  # Copies, so a rebuild meanwhile does not touch the running programs.
  cp "$bin"/kestrova "$bin"/kestrova-sim "$bin"/Ant-GND-Win32.bmp "$bin"/Ant-AIR-Win32.bmp \
    "$work"/
  # The defaults as installed, not the developer's own settings beside the build.
  cp "$bin"/../share/kestrova/Kestrova.ini "$work"/Kestrova.ini
  cp "$bin"/../share/kestrova/Kestrova.ini "$work"/Kestrova.bak
}

session_close() {
  for pid in ${helpers:-}; do kill "$pid" 2>/dev/null || true; done
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${sim:-}" ] && kill "$sim" 2>/dev/null || true
  rm -rf "$work"
}

# Starts the simulator with the flags given, logging to $work/$SIM_LOG (default sim.log),
# and waits for its terminal; its pid is $sim.
session_sim() {
  sim_log="$work/${SIM_LOG:-sim.log}"
  "$work"/kestrova-sim --link "$work/pty" "$@" > "$sim_log" 2>&1 &
  sim=$!
  for _ in $(seq 100); do [ -e "$work/pty" ] && break; sleep 0.05; done
}

# Adds a line to the session's settings, both files, after session_sim: for example
# PollTimer=1.
session_setting() {
  printf '%s\r\n' "$1" >> "$work/Kestrova.ini"
  cp "$work/Kestrova.ini" "$work/Kestrova.bak"
}

# Starts the program headless on the simulator's terminal (or on $SESSION_PORT, with the
# options in $SESSION_ARGS and those given); its pid is $app.
session_app() {
  # shellcheck disable=SC2086
  QT_QPA_PLATFORM=offscreen "$work"/kestrova --port "${SESSION_PORT:-$work/pty}" ${SESSION_ARGS:-} "$@" \
    > "$work/app.log" 2>&1 &
  app=$!
}

# Other processes the session started ($helpers) are stopped with it.
# A TCP port on 127.0.0.1 that nothing listens on now, and whether something listens on one.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
listening() {
  grep -q "0100007F:$(printf %04X "$1") [0-9A-F:]* 0A" /proc/net/tcp
}

# Waits for the last simulator started, prints its verdict; sets $status to its exit code.
session_verdict() {
  status=0
  wait "$sim" || status=$?
  sim=
  tail -1 "$sim_log"
}

session_app_alive() {
  kill -0 "$app" 2>/dev/null
}
