#!/usr/bin/env bash
# Builds and runs every test: the full build with ctest, every test again under AddressSanitizer
# with UndefinedBehaviorSanitizer, the Qt-free core tests under ThreadSanitizer, and the fuzzers
# of the readers for a bounded time. Installs what it needs first. Exits non-zero on the first
# failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${ZELMAR_FUZZ_SECONDS:-30}

configure_and_test() {
  local folder=$1
  shift
  cmake -S . -B "$folder" -G Ninja "$@"
  cmake --build "$folder" -j "$jobs"
  (cd "$folder" && ctest --output-on-failure -j "$jobs")
}

echo "== full build and tests"
configure_and_test build
ln -sf build/compile_commands.json compile_commands.json

# -- snapshots of the examples (editor canvas) --
echo "== snapshots of every example, both pages, scales 1 and 2"
tools/screenshots.sh build
# -- end of snapshots --

echo "== every test under AddressSanitizer and UndefinedBehaviorSanitizer"
configure_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DZELMAR_SANITIZE=address,undefined

echo "== core tests under ThreadSanitizer"
TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1 history_size=7" \
  configure_and_test build-tsan -DCMAKE_BUILD_TYPE=Debug -DZELMAR_WITH_QT=OFF \
  -DZELMAR_SANITIZE=thread

echo "== fuzzing the readers for ${fuzz_seconds} s each"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELMAR_WITH_QT=OFF -DZELMAR_FUZZ=ON -DZELMAR_SANITIZE=address,undefined,fuzzer-no-link
cmake --build build-fuzz -j "$jobs" --target text_reader_fuzz midi_file_fuzz
fuzz() {
  local target=$1 seeds=$2
  mkdir -p "build-fuzz/corpus-$target"
  "build-fuzz/tests/fuzz/$target" -max_total_time="$fuzz_seconds" -max_len=4096 \
    -print_final_stats=1 "build-fuzz/corpus-$target" "$seeds"
}
fuzz text_reader_fuzz tests/fuzz/corpus
fuzz midi_file_fuzz tests/fuzz/midi_corpus
echo "fuzzing: 2 passed, 0 failed"
