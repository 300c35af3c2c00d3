#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR) and checks that the desktop program is whole:
# the program, its desktop entry (valid), the AppStream metainfo (valid), the manual page (every
# option of --help in it), the MIME package (readable by the MIME database, which then knows
# sounds and groups by their content too), the icons at every size, the examples, the LV2 bundle
# in the LV2 folder, and that the installed program renders an installed example.
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
  share/zelmar/examples/melody.mid share/zelmar/examples/envelope_voice.group \
  share/metainfo/com.quorvane.zelmar.metainfo.xml share/man/man1/zelmar.1.gz \
  lib/lv2/zelmar.lv2/manifest.ttl lib/lv2/zelmar.lv2/zelmar.ttl lib/lv2/zelmar.lv2/zelmar.so \
  lib/lv2/zelmar.lv2/default.zmr; do
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

# A sound and a group without their extensions are still known by their content.
plain=$stage/content
mkdir -p "$plain"
cp "$share/zelmar/examples/drone.zmr" "$plain/sound"
cp "$share/zelmar/examples/envelope_voice.group" "$plain/group"
printf 'BEGIN not a group\n' >"$plain/text"
# Only the staged MIME database, not the user's.
content_type() {
  XDG_DATA_HOME=$stage/no-data XDG_DATA_DIRS=$share gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
[ "$(content_type "$plain/sound")" = application/x-ZelmarStudio_file ] ||
  fail "a sound without its extension is not known by its content: $(content_type "$plain/sound")"
[ "$(content_type "$plain/group")" = application/x-ZelmarStudio_group ] ||
  fail "a group without its extension is not known by its content: $(content_type "$plain/group")"
[ "$(content_type "$plain/text")" != application/x-ZelmarStudio_group ] ||
  fail "any text beginning with BEGIN counts as a group"

appstreamcli validate --no-net "$share/metainfo/com.quorvane.zelmar.metainfo.xml" ||
  fail "appstreamcli refuses the metainfo"
grep -q '<launchable type="desktop-id">zelmar.desktop</launchable>' \
  "$share/metainfo/com.quorvane.zelmar.metainfo.xml" || fail "the metainfo launches no desktop entry"

# The manual page reads, and names every option the program's --help names.
manual=$(MANWIDTH=100 man -l "$share/man/man1/zelmar.1.gz" 2>"$stage/man.log") ||
  { cat "$stage/man.log" >&2; fail "man cannot show the manual page"; }
[ ! -s "$stage/man.log" ] || { cat "$stage/man.log" >&2; fail "man warns about the manual page"; }
for option in $("$root/bin/zelmar" --help | grep -o -- '--[a-z]*' | sort -u); do
  grep -q -- "$option" <<<"$manual" || fail "the manual page lacks $option"
done

# Hosts find the instrument in the installed LV2 folder.
LV2_PATH=$root/lib/lv2 lv2info urn:zelmar:instrument | grep -q "Name: *Fader 16" ||
  fail "lv2info does not find the installed instrument"

# The installed program plays an installed example into a WAV file.
wav=$stage/drone.wav
"$root/bin/zelmar" --render "$share/zelmar/examples/drone.zmr" --out "$wav" --seconds 1 ||
  fail "the installed program cannot render an installed example"
[ "$(head -c 4 "$wav")" = RIFF ] || fail "the render is no WAV file"
[ "$(stat -c %s "$wav")" -gt 40000 ] || fail "the render of one second is too short"
echo "install test: all files in place, desktop entry, metainfo and manual page valid, example rendered"
