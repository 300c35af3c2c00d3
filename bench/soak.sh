#!/usr/bin/env bash
# Long play (bench/soak_bench.cpp): `zelmar --play` plays the bundled 39-voice synth with a note
# every 100 ms on a JACK dummy server for MINUTES, then the sound is started and stopped 200
# times with a note held. Samples memory and processor use every 10 s and reports the memory's
# growth, the late periods the server blames on the program and every line the program wrote.
#   bench/soak.sh [MINUTES] [BUILD_FOLDER]   (default: 60 minutes, build)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-60}
build=${2:-build}

cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j 2 --target soak_bench >/dev/null
exec "$build/bench/soak_bench" "$minutes"
