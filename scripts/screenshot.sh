#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Types a puzzle into Zifrax under Xvfb, solves it and saves a screenshot:
#   scripts/screenshot.sh OUT.png [PUZZLE]
# PUZZLE is 81 characters, row by row, with 0 or . for an empty cell.
# Needs xvfb, xdotool and imagemagick.
set -euo pipefail
ZIFRAX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(realpath -m "$1")"
puzzle="${2:-530070000600195000098000060800060003400803001700020006060000280000419005000080079}"

if [ -z "${ZIFRAX_IN_XVFB:-}" ]; then
    ZIFRAX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$out" "$puzzle"
fi

"$ZIFRAX_ROOT/build/zifrax" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=""
for _ in $(seq 50); do
    window="$(xdotool search --pid "$pid" --onlyvisible 2>/dev/null | head -n 1)" && [ -n "$window" ] && break
    sleep 0.1
done
sleep 0.5
# The focus starts in cell 1 and Tab walks the cells row by row.
for ((i = 0; i < 81; i++)); do
    digit="${puzzle:i:1}"
    case "$digit" in [1-9]) xdotool type --window "$window" "$digit" ;; esac
    xdotool key --window "$window" Tab
done
# Tab has reached the solve button: Space presses it.
xdotool key --window "$window" space
sleep "${ZIFRAX_SCREENSHOT_WAIT:-3}"
import -window "$window" "$out"
