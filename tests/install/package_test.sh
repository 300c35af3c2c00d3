#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks that it holds the installed files
# under /usr (the LV2 bundle in /usr/lib/lv2), names the shared libraries the program needs, and
# that lintian finds no error in it.
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
  ./usr/share/zelmar/examples/drone.zmr ./usr/share/zelmar/examples/melody.mid \
  ./usr/share/metainfo/com.quorvane.zelmar.metainfo.xml ./usr/share/man/man1/zelmar.1.gz \
  ./usr/share/doc/zelmar/copyright ./usr/lib/lv2/zelmar.lv2/zelmar.so \
  ./usr/lib/lv2/zelmar.lv2/manifest.ttl; do
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
lintian --fail-on error --tag-display-limit 0 "$deb" >"$out/lintian.log" 2>&1 ||
  { cat "$out/lintian.log" >&2; fail "lintian finds errors in the package"; }
echo "package test: $(basename "$deb") holds the program and depends on: $depends"
echo "package test: lintian finds no error ($(grep -c '^W:' "$out/lintian.log") warnings)"
