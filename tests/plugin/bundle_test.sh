#!/bin/sh
# The bundle as a host's tools see it: `ports` checks that lv2info lists the instrument's ports
# (the atom input, the two outputs and the sixteen fader controls), `links` that the plugin
# binary needs no Qt GUI or Widgets library, which a host running another toolkit would otherwise
# load with it.
# usage: bundle_test.sh ports|links LV2_FOLDER
set -eu
export LV2_PATH=$2
binary=$2/zelmar.lv2/zelmar.so
fail() { echo "bundle test: $*" >&2; exit 1; }

if [ "$1" = links ]; then
  libraries=$(ldd "$binary") || fail "ldd cannot read $binary"
  if printf '%s\n' "$libraries" | grep -E 'libQt6(Gui|Widgets)'; then
    fail "the plugin binary needs the Qt GUI or Widgets library"
  fi
  echo "bundle test: the plugin binary needs no Qt GUI or Widgets library"
  exit 0
fi

info=$(lv2info urn:zelmar:instrument) || fail "lv2info does not find urn:zelmar:instrument"
ports="control out_l out_r"
fader=1
while [ $fader -le 16 ]; do
  ports="$ports fader_$fader"
  printf '%s\n' "$info" | grep -q "Name: *Fader $fader\$" || fail "no control \"Fader $fader\""
  fader=$((fader + 1))
done
index=0
for symbol in $ports; do
  printf '%s\n' "$info" | grep -A3 "^	Port $index:" | grep -q "Symbol: *$symbol\$" ||
    fail "port $index is not \"$symbol\""
  index=$((index + 1))
done
printf '%s\n' "$info" | grep -q "^	Port $index:" && fail "more ports than $index"
echo "bundle test: lv2info lists the $index ports"
