#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR) and checks that the desktop program is whole:
# the program, its desktop entry (valid), the MIME package (readable by the MIME database), the
# icons at every size, the examples, and that the installed program renders an installed example.
# usage: install_test.sh BUILD_FOLDER
set -euo pipefail
build=$1
stage=$(mktemp -d /tmp/zelmar-install-test-XXXXXX)
trap 'rm -rf "$stage"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$stage/install.log" ||
  { cat "$stage/install.log" >&2; fail "cmake --install failed"; }
root=$stage/usr
share=$root/share

for file in bin/zelmar share/applications/zelmar.desktop share/mime/packages/zelmar.xml \
  share/icons/hicolor/scalable/apps/zelmar.svg share/zelmar/examples/drone.zmr \
  share/zelmar/examples/melody.mid share/zelmar/examples/envelope_voice.group; do
  [ -s "$root/$file" ] || fail "$file is missing"
done
[ -x "$root/bin/zelmar" ] || fail "bin/zelmar is not executable"

# Every PNG is as wide and high as the folder it lies in says.
for size in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/zelmar.png
  [ -s "$png" ] || fail "the ${size} pixel icon is missing"
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
  read -r width height < <(od -An -j16 -N8 -tu1 "$png" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$width $height" = "$size $size" ] || fail "$png is ${width}x${height}"
done

entry=$share/applications/zelmar.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the desktop entry"
grep -qx 'Exec=zelmar %f' "$entry" || fail "the desktop entry does not pass the file to the program"
grep -qx 'Icon=zelmar' "$entry" || fail "the desktop entry names no icon"
grep -qx 'MimeType=application/x-ZelmarStudio_file;application/x-ZelmarStudio_group;' "$entry" ||
  fail "the desktop entry does not open both file types"

# The MIME database reads the package and knows both types and their patterns.
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database refuses the package"
grep -q '^application/x-ZelmarStudio_file:\*\.zmr$' "$share/mime/globs" || fail "no *.zmr glob"
grep -q '^application/x-ZelmarStudio_group:\*\.group$' "$share/mime/globs" || fail "no *.group glob"

# The installed program plays an installed example into a WAV file.
wav=$stage/drone.wav
"$root/bin/zelmar" --render "$share/zelmar/examples/drone.zmr" --out "$wav" --seconds 1 ||
  fail "the installed program cannot render an installed example"
[ "$(head -c 4 "$wav")" = RIFF ] || fail "the render is no WAV file"
[ "$(stat -c %s "$wav")" -gt 40000 ] || fail "the render of one second is too short"
echo "install test: all files in place, desktop entry valid, example rendered"
