#!/usr/bin/env bash
# Builds the program and runs its main job: renders the bundled polyphonic synth playing the
# bundled melody to build/example.wav and prints the summary. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)" --target zelmar
build/app/zelmar --render examples/poly_synth.zmr --midi examples/melody.mid --seed 1 \
  --out build/example.wav
