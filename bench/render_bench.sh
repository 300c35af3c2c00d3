#!/usr/bin/env bash
# Measures headless renders of 60 s as whole processes (loading, engine and writing the WAV):
# the bundled 39-voice synth, then sounds with 1, 4 and 16 copies of its voice chain at 39 voices
# each, to show how the cost grows with the patch. Reports processor time (user + system), the
# real-time factor against it, and peak memory.
#   bench/render_bench.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=60

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 --target zelmar make_examples >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for copies in 1 4 16; do
  "$build/tools/make_examples" --chains "$copies" "$work/chains-$copies.zmr"
done

# Prints one row: name, processor seconds, real-time factor, peak memory in MiB. Each sound is
# rendered three times and the least processor time is reported, as other work on the machine
# only ever adds to it.
measure() {
  local name=$1 sound=$2
  : >"$work/times.txt"
  for run in 1 2 3; do
    /usr/bin/time -v -o "$work/time.txt" "$build/app/zelmar" --render "$sound" \
      --midi examples/melody.mid --seconds "$seconds" --seed 1 --out "$work/out.wav" >/dev/null 2>&1
    cat "$work/time.txt" >>"$work/times.txt"
  done
  awk -v name="$name" -v seconds="$seconds" '
    /User time/ { user = $NF }
    /System time/ { cpu = user + $NF; if (best == "" || cpu < best) best = cpu }
    /Maximum resident set size/ { if ($NF > kib) kib = $NF }
    END {
      printf "%-28s %9.3f s %10.0fx %9.1f MiB\n", name, best, (best > 0 ? seconds / best : 0), kib / 1024
    }' "$work/times.txt"
}

printf "%-28s %11s %11s %13s\n" "60 s render of" "processor" "real time" "peak memory"
measure "poly_synth.zmr (39 voices)" examples/poly_synth.zmr
for copies in 1 4 16; do
  measure "$copies voice chain(s) x 39 voices" "$work/chains-$copies.zmr"
done
echo "targets: the 39-voice example under 0.2 s, peak memory under 64 MiB, cost linear in chains"
