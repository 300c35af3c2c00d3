#!/usr/bin/env bash
# Writes the snapshots of every bundled example sound, the Structure and the Panel page, at
# scales 1 and 2, into BUILD/screenshots/ (BUILD defaults to build/), for a review of how the
# program looks, a picture of the main window, of every module and shell dialog and of the
# scope window (build the main_window_shot, dialog_shots, shell_dialog_shots and scope_shots
# targets first).
# Fails when a picture fails or comes out empty.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
program="$build/app/zelmar"
out="$build/screenshots"
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
count=0
for sound in examples/*.zmr; do
  name=$(basename "$sound" .zmr)
  for tab in structure panel; do
    for scale in 1 2; do
      picture="$out/${name}_${tab}@${scale}x.png"
      "$program" --snapshot "$sound" --out "$picture" --tab "$tab" --scale "$scale"
      if [[ ! -s "$picture" ]]; then
        echo "screenshots: $picture is empty" >&2
        exit 1
      fi
      count=$((count + 1))
    done
  done
done
echo "screenshots: $count pictures in $out"

# The real main window with an example open, in a settings store of its own.
settings=$(mktemp -d)
XDG_CONFIG_HOME="$settings" "$build/tools/main_window_shot" examples/macro_voice.zmr \
  "$out/main_window_panel.png" "$out/main_window_structure.png" "$out/splash.png"
rm -rf "$settings"
for picture in "$out"/main_window_{panel,structure}.png "$out/splash.png"; do
  if [[ ! -s "$picture" ]]; then
    echo "screenshots: $picture is empty" >&2
    exit 1
  fi
done
echo "screenshots: main window in $out/main_window_*.png"

# Every module dialog, opened on a module of a test sound.
"$build/tools/dialog_shots" "$out"
echo "screenshots: module dialogs in $out/dialog_*.png"

# The scope window with a captured signal, and its grid dialog.
"$build/tools/scope_shots" "$out/scope_window.png" "$out/scope_grid.png"
echo "screenshots: scope window in $out/scope_*.png"

# Every shell dialog, page by page, and the two browser pages (build shell_dialog_shots first).
settings=$(mktemp -d)
XDG_CONFIG_HOME="$settings" "$build/tools/shell_dialog_shots" "$out" "$PWD/examples"
rm -rf "$settings"
for picture in "$out"/{options_view_{1,2,3},options_file_{1,2},options_sound_{1,2}}.png \
  "$out"/{device_wave_out,device_wave_in,device_midi_in,tools_options,tool_property}.png \
  "$out"/{module_list,browser_sounds,browser_groups}.png; do
  if [[ ! -s "$picture" ]]; then
    echo "screenshots: $picture is empty" >&2
    exit 1
  fi
done
echo "screenshots: dialogs and browsers in $out"
