#!/usr/bin/env bash
# Takes the README's pictures on a virtual X server (the window taking is scripts/take-window.sh).
# Usage: scripts/screenshot.sh [build-dir]
#            docs/screenshot.png: the real editor window, as a user first sees it
#        scripts/screenshot.sh --graphics [build-dir]
#            docs/screenshot-tiles.png and docs/screenshot-overview.png: the map view in its Tiles
#            mode beside the tile set, and the course overview, over a synthetic ROM's course
#            (tests/graphics/graphics_demo; never the game's data)
# Either builds what it needs in build-dir (default build) if it is not built yet.
#
# The real window can be taken in other states the same way: VELMOR_ARGS adds arguments to its
# command line, VELMOR_SHOT_OUT names the picture, and VELMOR_SHOT_SYNTHETIC_ROM=1 gives it the
# synthetic ROM with theme graphics instead of a ROM of zeros, e.g. once the window can open in
# its Tiles mode:
#   VELMOR_SHOT_SYNTHETIC_ROM=1 VELMOR_ARGS="--view tiles" \
#       VELMOR_SHOT_OUT=docs/screenshot-tiles.png scripts/screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=window
if [ "${1:-}" = "--graphics" ]; then
    mode=graphics
    shift
fi
build=${1:-build}

scripts/install-deps.sh screenshot
# The synthetic ROM comes from the tests' builder, so the graphics need a build with the tests.
build_target() {
    local target=$1 tests=$2
    if [ ! -x "$build/bin/$target" ]; then
        cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_BUILD_TESTS="$tests" \
            -DVELMOR_BUILD_BENCH=OFF
        cmake --build "$build" --target "$target" --parallel 2
    fi
}

if [ "$mode" = graphics ]; then
    build_target graphics_demo ON
    demo=$(cd "$build/bin" && pwd)/graphics_demo
    scripts/take-window.sh "Velmor Tiles view" docs/screenshot-tiles.png "$demo" --window tiles
    scripts/take-window.sh "Velmor course overview" docs/screenshot-overview.png "$demo" \
        --window overview
    exit 0
fi

synthetic=${VELMOR_SHOT_SYNTHETIC_ROM:-}
build_target velmor "$([ -n "$synthetic" ] && echo ON || echo OFF)"
velmor=$(cd "$build/bin" && pwd)/velmor
out=$(realpath -m "${VELMOR_SHOT_OUT:-docs/screenshot.png}")

# A working folder with a configuration, so the window opens as on every start after the first
# (the editor looks for Velmor.cfg in the current directory).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "$synthetic" ]; then
    build_target graphics_demo ON
    "$build/bin/graphics_demo" --write-rom "$work/kart.smc"
else
    head -c 524800 /dev/zero >"$work/kart.smc"
fi
printf '%s\r\n' "Full Path to RECOMP.EXE" "$(cd "$build/bin" && pwd)/recomp.exe" \
    "ROM Folder" "$work/" "Original ROM Path" "$work/kart.smc" \
    "ROM name with no Extension" "kart" >"$work/Velmor.cfg"

# The start-up picture goes away two seconds after start; show the map as it is then.
# shellcheck disable=SC2086 # VELMOR_ARGS is a list of words on purpose
(cd "$work" && SETTLE_SECONDS=2.5 "$root/scripts/take-window.sh" "Velmor Beta v.3" "$out" \
    "$velmor" ${VELMOR_ARGS:-})
