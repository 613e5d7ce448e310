#!/usr/bin/env bash
# Takes a picture of a program's window on a virtual X server (Xvfb) with ImageMagick.
# Usage: scripts/take-window.sh TITLE OUT.png PROGRAM [ARGUMENTS...]
#   TITLE           the window's title, exactly
#   OUT.png         where the picture goes
#   PROGRAM ...     started in the current directory, ended once the picture is taken
# SETTLE_SECONDS (default 0.5) waits that long after the window appears, before the first grab:
# for a start-up picture that goes away, say. VELMOR_SHOT_SCREEN=file.png also keeps the whole
# screen, for a look at what else showed up (a dialog, say). VELMOR_SHOT_SIZE (default 1024x768)
# is the virtual screen's size, for pictures of several windows side by side.
set -euo pipefail
if [ $# -lt 3 ]; then
    echo "usage: $0 TITLE OUT.png PROGRAM [ARGUMENTS...]" >&2
    exit 2
fi
title=$1
out=$(realpath -m "$2")
shift 2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
inner=$work/inner.sh
cat >"$inner" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
title=$1; out=$2; work=$3; settle=$4; screen=$5
shift 5
"$@" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
# Wait for the window to exist (import alone would ask for a click on an unknown window), then
# for two grabs in a row to match: the first paint is done.
window=""
previous=""
for _ in $(seq 1 150); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "$1 ended before its window could be taken" >&2
        exit 1
    fi
    if [ -z "$window" ]; then
        window=$(xwininfo -root -tree | awk -v t="\"$title\":" 'index($0, t) { print $1; exit }')
        [ -n "$window" ] && sleep "$settle"
    fi
    if [ -n "$window" ] && import -window "$window" "$work/shot.png" 2>/dev/null; then
        sum=$(md5sum <"$work/shot.png")
        [ "$sum" = "$previous" ] && break
        previous=$sum
    fi
    sleep 0.2
done
[ -n "$previous" ] || { echo "no window titled '$title' appeared" >&2; exit 1; }
[ -z "$screen" ] || import -window root "$screen"
cp "$work/shot.png" "$out"
INNER
chmod +x "$inner"

mkdir -p "$(dirname "$out")"
screen=${VELMOR_SHOT_SCREEN:+$(realpath -m "$VELMOR_SHOT_SCREEN")}
xvfb-run -a -s "-screen 0 ${VELMOR_SHOT_SIZE:-1024x768}x24" "$inner" "$title" "$out" "$work" \
    "${SETTLE_SECONDS:-0.5}" "$screen" "$@"
echo "wrote $out"
