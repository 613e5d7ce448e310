#!/usr/bin/env bash
# One command from a fresh Debian 12 machine to the running editor: missing packages, build, start.
# The editor starts in the directory you call this from: that is where it keeps Velmor.cfg.
set -euo pipefail
here=$PWD
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/install-deps.sh" run
cmake -S "$repo" -B "$repo/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_BUILD_TESTS=OFF \
    -DVELMOR_BUILD_BENCH=OFF
cmake --build "$repo/build" --parallel "$(nproc)"
cd "$here"
exec "$repo/build/bin/velmor" "$@"
