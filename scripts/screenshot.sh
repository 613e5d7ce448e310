#!/usr/bin/env bash
# Takes the README's pictures on a virtual X server (the window taking is scripts/take-window.sh).
# Usage: scripts/screenshot.sh [build-dir]
#            docs/screenshot.png: the real editor window, as a user first sees it
#        scripts/screenshot.sh --graphics [build-dir]
#            docs/screenshot-tiles.png and docs/screenshot-overview.png: the real window in its
#            Tiles view with the tile set, and the course overview window, over a course of a
#            synthetic ROM (written by tests/graphics/synthetic_files; never the game's data)
#        scripts/screenshot.sh --race [build-dir]
#            docs/screenshot-layers.png: the window, the overview and the Layers window over a
#            course opened from the same synthetic ROM, which holds race data for every course
# Either builds what it needs in build-dir (default build) if it is not built yet.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=window
if [ "${1:-}" = "--graphics" ] || [ "${1:-}" = "--race" ]; then
    mode=${1#--}
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

velmor_with_tests=OFF
[ "$mode" != window ] && velmor_with_tests=ON
build_target velmor $velmor_with_tests
velmor=$(cd "$build/bin" && pwd)/velmor

# A working folder with a configuration, so the window opens as on every start after the first
# (the editor looks for Velmor.cfg in the current directory).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ "$mode" != window ]; then
    build_target synthetic_files ON
    "$build/bin/synthetic_files" "$work/kart.smc" "$work/course.bin"
else
    head -c 524800 /dev/zero >"$work/kart.smc"
fi
printf '%s\r\n' "Full Path to RECOMP.EXE" "$(cd "$build/bin" && pwd)/recomp.exe" \
    "ROM Folder" "$work/" "Original ROM Path" "$work/kart.smc" \
    "ROM name with no Extension" "kart" >"$work/Velmor.cfg"

# The start-up picture goes away two seconds after start; show the map as it is then.
take() {
    (cd "$work" && SETTLE_SECONDS=2.5 "$root/scripts/take-window.sh" "$@")
}
if [ "$mode" = graphics ]; then
    # The window and the tile set beside it: the screen, cut to the windows on it.
    VELMOR_SHOT_SCREEN="$work/screen.png" take "Tile Set" "$work/tile-set.png" "$velmor" --tiles \
        --tile-set course.bin
    convert "$work/screen.png" -trim +repage "$root/docs/screenshot-tiles.png"
    take "Course Overview" "$root/docs/screenshot-overview.png" "$velmor" --tiles --overview \
        course.bin
elif [ "$mode" = race ]; then
    # Wide enough for the overview beside the window; the Layers window opens below it.
    VELMOR_SHOT_SIZE=1400x800 VELMOR_SHOT_SCREEN="$work/screen.png" take "Layers" \
        "$work/layers.png" "$velmor" --tiles --overview --layers kart.smc
    convert "$work/screen.png" -trim +repage -colors 96 "PNG8:$root/docs/screenshot-layers.png"
else
    take "Velmor Beta v.3" "$root/docs/screenshot.png" "$velmor"
fi
