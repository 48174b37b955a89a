#!/usr/bin/env bash
# Checks the layout of the C++ files (.clang-format), builds everything and runs every test: unit, x11 and e2e
# tests in Release (each x11 or e2e test program starts one Xvfb that its cases share), the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzzing run of the save-file and recording readers, the
# check that every folder links the folders it includes, and the install and Debian package checked in a staging
# folder.
# Exits non-zero on any failure; ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)

scripts/install-deps.sh

echo "== layout"
scripts/check-format.sh

echo "== sanitizer build: unit tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPUZZLES_SANITIZE=ON -DPUZZLES_WERROR=ON \
  -DPUZZLES_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs" --target unit_tests
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan -L unit -j"$jobs" --output-on-failure --quiet

if ls fuzz/*/CMakeLists.txt >/dev/null 2>&1; then
  echo "== fuzzing"
  cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DPUZZLES_FUZZ=ON \
    -DPUZZLES_TESTS=OFF -DPUZZLES_BENCH=OFF -DPUZZLES_WERROR=ON >/dev/null
  cmake --build build-fuzz -j"$jobs" --target fuzzers
  for f in build-fuzz/bin/fuzz_*; do
    "$f" -max_total_time="${FUZZ_SECONDS:-30}" -print_final_stats=0 2>&1 | tail -n 2
  done
fi

echo "== release build: all tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPUZZLES_WERROR=ON >/dev/null
echo "== floors: each folder links the folders it includes"
cmake -DTARGETS=build/floors.txt -DSOURCE=. -P tests/programs/check_floors.cmake
cmake --build build -j"$jobs"
echo "== install: staging folder, manual pages, desktop entries, icons, metadata, Debian package"
tests/dist/check_install.sh build
ctest --test-dir build -j"$jobs" --output-on-failure
