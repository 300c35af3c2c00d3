#!/usr/bin/env bash
# Builds and runs every test: the full build with ctest, every test again under AddressSanitizer
# with UndefinedBehaviorSanitizer, the engine, driver and model tests under ThreadSanitizer, and
# the fuzzers of the readers for a bounded time. Installs what it needs first. Exits non-zero on
# the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# Rebuilds of unchanged sources come from the compiler cache; cmake reads this when it first
# configures a build folder.
if command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi

echo "== format check"
# The layering test's fixture holds deliberately wrong includes, in the order its messages name.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' ':!tests/layers/fixture'
else
  find . \( -path './build*' -o -path './tests/layers/fixture' \) -prune -o \
    \( -name '*.cpp' -o -name '*.h' \) -print0
fi | xargs -0 clang-format --dry-run -Werror
echo "format check: every source file is formatted"

jobs=$(nproc)
fuzz_seconds=${ZELMAR_FUZZ_SECONDS:-30}

configure_and_test() {
  local folder=$1
  shift
  cmake -S . -B "$folder" -G Ninja -DZELMAR_WERROR=ON "$@"
  cmake --build "$folder" -j "$jobs"
  (cd "$folder" && ctest --output-on-failure -j "$jobs")
}

echo "== full build and tests"
configure_and_test build
ln -sf build/compile_commands.json compile_commands.json

echo "== clang-tidy"
# The checks of .clang-tidy over the project's own sources in the full build's compile
# commands (generated files are not among them), every finding an error.
tidy_log=build/clang-tidy.log
if ! run-clang-tidy-14 -p build -j "$jobs" -quiet \
  "$PWD/(persist|engine|platform|patch|edit|modules|resources|desktop|views|cli|app|tools|tests|bench)/" >"$tidy_log" 2>&1; then
  sed 's/\x1b\[[0-9;]*m//g' "$tidy_log" | grep -v '^clang-tidy-14 ' >&2
  echo "clang-tidy: findings above (the whole log is $tidy_log)" >&2
  exit 1
fi
echo "clang-tidy: $(grep -c '^clang-tidy-14 ' "$tidy_log") files, no findings"

# -- snapshots of the examples (editor canvas) --
echo "== snapshots of every example, both pages, scales 1 and 2"
tools/screenshots.sh build
# -- end of snapshots --

echo "== every test under AddressSanitizer and UndefinedBehaviorSanitizer"
configure_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DZELMAR_SANITIZE=address,undefined

echo "== engine, driver and model tests under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DZELMAR_WERROR=ON -DCMAKE_BUILD_TYPE=Debug \
  -DZELMAR_WITH_QT=ON -DZELMAR_SANITIZE=thread
cmake --build build-tsan -j "$jobs" --target thread_checked_tests
(cd build-tsan &&
  TSAN_OPTIONS="suppressions=$PWD/../tests/tsan.supp halt_on_error=1 history_size=7" \
    ctest --output-on-failure -j "$jobs" -L thread_checked)

echo "== fuzzing the readers for ${fuzz_seconds} s each"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELMAR_WITH_QT=ON -DZELMAR_FUZZ=ON -DZELMAR_SANITIZE=address,undefined,fuzzer-no-link
cmake --build build-fuzz -j "$jobs" --target text_reader_fuzz midi_file_fuzz wav_file_fuzz \
  paste_fuzz sound_fuzz settings_fuzz
fuzz() {
  local target=$1 seeds=$2
  mkdir -p "build-fuzz/corpus-$target" build-fuzz/home
  QT_QPA_PLATFORM=offscreen HOME="$PWD/build-fuzz/home" XDG_CONFIG_HOME="$PWD/build-fuzz/home" \
    XDG_DATA_HOME="$PWD/build-fuzz/home" \
    "build-fuzz/tests/fuzz/$target" -max_total_time="$fuzz_seconds" -max_len=4096 \
    -print_final_stats=1 "build-fuzz/corpus-$target" "$seeds"
}
fuzz text_reader_fuzz tests/fuzz/corpus
fuzz midi_file_fuzz tests/fuzz/midi_corpus
fuzz wav_file_fuzz tests/fuzz/wav_corpus
fuzz paste_fuzz tests/fuzz/group_corpus
fuzz sound_fuzz tests/fuzz/sound_corpus
fuzz settings_fuzz tests/fuzz/settings_corpus
echo "fuzzing: 6 passed, 0 failed"
