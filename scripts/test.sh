#!/usr/bin/env bash
# One command from a fresh Debian 12 machine to every test: missing packages, then the tests in a
# plain build, again under AddressSanitizer and UndefinedBehaviorSanitizer, then a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)
# A clean build's time is mostly compiling and linking: line tables only for the debug info (the
# sanitizers' reports still name file and line), and the gold linker where binutils has it.
link=()
if command -v ld.gold >/dev/null; then
    link=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=gold)
fi

echo "== plain build"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_PCH=ON \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "${link[@]}"
cmake --build build-test --parallel "$jobs"
ctest --test-dir build-test --output-on-failure --parallel "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMOR_SANITIZE=ON -DVELMOR_BUILD_BENCH=OFF -DVELMOR_PCH=ON \
    -DCMAKE_CXX_FLAGS_DEBUG=-g1 "${link[@]}"
cmake --build build-asan --parallel "$jobs"
ctest --test-dir build-asan --output-on-failure --parallel "$jobs"

if [ -f fuzz/CMakeLists.txt ]; then
    echo "== fuzzing (libFuzzer, short)"
    cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVELMOR_FUZZ_SECONDS=15
    cmake --build build-fuzz --parallel "$jobs"
    ctest --test-dir build-fuzz --output-on-failure --parallel "$jobs"
fi
