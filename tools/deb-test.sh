#!/usr/bin/env bash
# Packages a built tree and checks the package: the programs and the desktop entry are in it,
# and it declares the Qt and GeographicLib runtimes they need. Usage: tools/deb-test.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=$("$here"/package.sh "$1")
fail() { echo "deb test: $*"; exit 1; }

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/kestrova ./usr/bin/kestrova-fix ./usr/share/applications/kestrova.desktop \
         ./usr/share/kestrova/Kestrova.ini ./usr/share/icons/hicolor/scalable/apps/kestrova.svg; do
  grep -q " $f\$" <<< "$contents" || fail "$f is not in $deb"
done
[ "$(dpkg-deb -f "$deb" Package)" = kestrova ] || fail "wrong package name"
version=$("$1"/bin/kestrova --version)
[ "kestrova $(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not the program's ($version)"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6network6 \
  qt6-qpa-plugins libgeographiclib23 libqt6sql6-sqlite; do
  grep -qE "(^|, )$p( |,|\$)" <<< "$depends" || fail "Depends lacks $p: $depends"
done
echo "deb test: $(basename "$deb") holds the programs and the desktop entry; Depends: $depends"
