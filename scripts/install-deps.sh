#!/usr/bin/env bash
# Installs the Debian packages that Velmor needs and that are missing; installs nothing else.
# Usage: scripts/install-deps.sh [run|test]
set -euo pipefail

# fonts-liberation2: the faces the window's texts are measured for (Arial's and Times' widths).
need=(cmake g++ make qt6-base-dev fonts-liberation2)
case "${1:-run}" in
    run) ;;
    test) need+=(clang libclang-rt-14-dev dpkg-dev file) ;;
    screenshot) need+=(xvfb xauth imagemagick x11-utils) ;;
    *) echo "usage: $0 [run|test|screenshot]" >&2; exit 2 ;;
esac

missing=()
for pkg in "${need[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
