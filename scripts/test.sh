#!/usr/bin/env bash
# Set-up, then build and run every test twice: a normal build with warnings as errors, and
# a build under AddressSanitizer and UndefinedBehaviorSanitizer with the portable
# arithmetic alone. Last, the fuzz targets run for a bounded time each (clang, libFuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

echo "== build and test: release"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOUND_WARNINGS_AS_ERRORS=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build and test: address and undefined-behaviour sanitizers"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPOUND_WARNINGS_AS_ERRORS=ON \
    -DPOUND_SANITIZE=ON -DPOUND_BUILD_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS="-DPOUND_PORTABLE_ARITHMETIC"
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0 ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== fuzz: each target ${POUND_FUZZ_SECONDS:-30} s"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPOUND_SANITIZE=ON -DPOUND_BUILD_FUZZERS=ON -DPOUND_BUILD_GUI=OFF \
    -DPOUND_BUILD_BENCHMARKS=OFF -DPOUND_FUZZ_SECONDS="${POUND_FUZZ_SECONDS:-30}"
cmake --build build-fuzz -j "$jobs" --target parse_fuzz format_fuzz convert_fuzz
ctest --test-dir build-fuzz --output-on-failure -V -R '^fuzz_'
