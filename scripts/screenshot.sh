#!/usr/bin/env bash
# Takes docs/screenshot.png: the real editor window on a virtual X server, as a user first sees it.
# Usage: scripts/screenshot.sh [build-dir]   (builds the editor there if it is not built yet)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
out=$root/docs/screenshot.png
title="Velmor Beta v.3"

scripts/install-deps.sh screenshot
if [ ! -x "$build/bin/velmor" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_BUILD_TESTS=OFF \
        -DVELMOR_BUILD_BENCH=OFF
    cmake --build "$build" --target velmor --parallel 2
fi
velmor=$(cd "$build/bin" && pwd)/velmor

# A working folder with a configuration, so the window opens as on every start after the first
# (the editor looks for Velmor.cfg in the current directory).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c 524800 /dev/zero >"$work/kart.smc"
printf '%s\r\n' "Full Path to RECOMP.EXE" "$(cd "$build/bin" && pwd)/recomp.exe" \
    "ROM Folder" "$work/" "Original ROM Path" "$work/kart.smc" \
    "ROM name with no Extension" "kart" >"$work/Velmor.cfg"

# Everything below runs inside the virtual display; xvfb-run picks a free display number.
inner=$work/inner.sh
cat >"$inner" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
velmor=$1; out=$2; title=$3; work=$4
cd "$work"
"$velmor" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
# Wait for the window to exist (import alone would ask for a click on an unknown window), then
# for two grabs in a row to match: the first paint is done.
window=""
previous=""
for _ in $(seq 1 150); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "velmor ended before its window could be taken" >&2
        exit 1
    fi
    if [ -z "$window" ]; then
        window=$(xwininfo -root -tree | awk -v t="\"$title\":" 'index($0, t) { print $1; exit }')
        # The start-up picture goes away two seconds after start; show the map as it is then.
        [ -n "$window" ] && sleep 2.5
    fi
    if [ -n "$window" ] && import -window "$window" "$work/shot.png" 2>/dev/null; then
        sum=$(md5sum <"$work/shot.png")
        [ "$sum" = "$previous" ] && break
        previous=$sum
    fi
    sleep 0.2
done
[ -n "$previous" ] || { echo "no window titled '$title' appeared" >&2; exit 1; }
# The whole screen too, for a look at what else showed up (a dialog, say).
import -window root "$work/root.png"
cp "$work/shot.png" "$out"
INNER
chmod +x "$inner"

mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1024x768x24" "$inner" "$velmor" "$out" "$title" "$work"
echo "wrote $out"
