#!/usr/bin/env bash
# Redraws app/resources/splash.jpg, the start-up picture (291 x 152 pixels), from
# scripts/make-splash/make_splash.cpp. Needs Qt 6 and a DejaVu Sans font.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
cmake -S scripts/make-splash -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel 2 >/dev/null
"$build/make_splash" -platform offscreen app/resources/splash.jpg
echo "wrote app/resources/splash.jpg"
