#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program as an ordinary
# user with an empty home: it must answer the command line without a display, give the user
# the default settings in ~/.config/kestrova, and answer the simulator on the device given
# with --port. As root the program runs as nobody.
# Usage: tools/install-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d /tmp/kestrova-install-XXXXXX)
sim= app=
trap '[ -n "$app" ] && kill $app 2>/dev/null; [ -n "$sim" ] && kill $sim 2>/dev/null; rm -rf "$tmp"' EXIT
fail() { echo "install test: $*"; exit 1; }

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
for f in bin/kestrova bin/kestrova-fix share/kestrova/Kestrova.ini share/kestrova/Ant-GND-Win32.bmp \
         share/kestrova/Ant-AIR-Win32.bmp share/applications/kestrova.desktop \
         share/icons/hicolor/scalable/apps/kestrova.svg \
         share/icons/hicolor/48x48/apps/kestrova.png share/icons/hicolor/128x128/apps/kestrova.png; do
  [ -f "$tmp/prefix/$f" ] || fail "not installed: $f"
done
[ ! -e "$tmp/prefix/bin/Kestrova.ini" ] || fail "settings installed beside the program"

home=$tmp/home
mkdir "$home"
chmod 755 "$tmp"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# A clean environment: no display, nothing of the caller's but the path.
run() { env -i PATH=/usr/bin:/bin HOME="$home" "${as_user[@]}" "$tmp/prefix/bin/kestrova" "$@"; }

# The command line, without a display.
run --version | grep -qx 'kestrova [0-9]*\.[0-9]*\.[0-9]*' || fail "--version"
run --help | grep -q -- '--port DEVICE' || fail "--help"
status=0; run --no-such-option 2>/dev/null || status=$?
[ $status -eq 2 ] || fail "an unknown option ended with $status, not 2"
status=0; run --settings "$tmp/missing" 2>/dev/null || status=$?
[ $status -eq 2 ] || fail "a missing --settings folder ended with $status, not 2"
if [ ${#as_user[@]} -gt 0 ]; then
  status=0; run --settings /usr 2>/dev/null || status=$?
  [ $status -eq 2 ] || fail "an unwritable --settings folder ended with $status, not 2"
fi
[ -z "$(ls -A "$home")" ] || fail "a refused command line left files in the home folder"
# The fix tool, installed beside it, runs without the build tree.
env -i PATH=/usr/bin:/bin "$tmp/prefix/bin/kestrova-fix" --help | grep -q -- '--geojson FILE' ||
  fail "kestrova-fix --help"

# The installed program against the simulator, on the simulator's own terminal.
"$build"/bin/kestrova-sim --link "$tmp/pty" --duration 12 --no-pauses > "$tmp/sim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e "$tmp/pty" ] && break; sleep 0.05; done
pts=$(readlink -f "$tmp/pty")
[ ${#as_user[@]} -eq 0 ] || chown nobody "$pts"
env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen "${as_user[@]}" \
  "$tmp/prefix/bin/kestrova" --port "$pts" > "$tmp/app.log" 2>&1 &
app=$!
status=0
wait $sim || status=$?
sim=
tail -1 "$tmp/sim.log"
kill -0 $app 2>/dev/null || { cat "$tmp/app.log"; fail "the installed program died"; }
kill $app; wait $app 2>/dev/null || true
app=
[ $status -eq 0 ] || { cat "$tmp/app.log"; fail "the simulator was not answered as it should be"; }
tail -1 "$tmp/sim.log" | grep -q '; OK$' || fail "no verdict from the simulator"

settings=$home/.config/kestrova
for f in Kestrova.ini Kestrova.bak; do
  cmp -s "$settings/$f" "$tmp/prefix/share/kestrova/Kestrova.ini" ||
    fail "$settings/$f is not the installed defaults (--port must not be stored)"
done
[ ${#as_user[@]} -eq 0 ] || [ "$(stat -c %U "$settings/Kestrova.ini")" = nobody ] ||
  fail "the settings do not belong to the user"
echo "install test: installed program seeded $settings and answered the simulator"
