#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks that it holds the installed files
# under /usr and names the shared libraries the program needs.
# usage: package_test.sh BUILD_FOLDER
set -euo pipefail
build=$1
out=$(mktemp -d /tmp/zelmar-package-test-XXXXXX)
trap 'rm -rf "$out"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$out"/zelmar_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no package was written"

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/zelmar ./usr/share/applications/zelmar.desktop \
  ./usr/share/mime/packages/zelmar.xml ./usr/share/icons/hicolor/scalable/apps/zelmar.svg \
  ./usr/share/icons/hicolor/16x16/apps/zelmar.png ./usr/share/icons/hicolor/256x256/apps/zelmar.png \
  ./usr/share/zelmar/examples/drone.zmr ./usr/share/zelmar/examples/melody.mid; do
  grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done

info=$(dpkg-deb -I "$deb")
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
[ -n "$depends" ] || fail "the package names no dependencies"
for library in libc6 libqt6core6 libqt6widgets6 librtaudio librtmidi; do
  grep -q "$library" <<<"$depends" || fail "the dependencies lack $library: $depends"
done
grep -q '^ Package: zelmar$' <<<"$info" || fail "the package is not called zelmar"
grep -q '^ Section: sound$' <<<"$info" || fail "the package is not in the sound section"
echo "package test: $(basename "$deb") holds the program and depends on: $depends"
