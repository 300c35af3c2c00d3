#!/usr/bin/env bash
# Builds the program and runs its main job. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)" --target zelmar
build/app/zelmar --version
