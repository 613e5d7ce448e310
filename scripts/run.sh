#!/usr/bin/env bash
# One command from a fresh Debian 12 machine to the running editor: missing packages, build, start.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_BUILD_TESTS=OFF -DVELMOR_BUILD_BENCH=OFF
cmake --build build --parallel "$(nproc)"
exec build/bin/velmor "$@"
