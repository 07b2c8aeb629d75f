#!/usr/bin/env bash
# Builds the program and its tests with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitize/ and runs the whole test suite there, the fuzz targets included (each for a
# bounded time); any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang-14 CXX=clang++-14 cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPARAMORA_BENCH=OFF \
    -DPARAMORA_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="-O1 -fno-omit-frame-pointer -fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all"
cmake --build build-sanitize
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
