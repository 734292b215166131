#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puzzle lines through the real X11 clipboard, with real key presses (XTest)
# on an Xvfb screen of its own: the grid is seen only through what Strg+C
# puts on the clipboard, as another program would see it.
#   tests/app/puzzle_lines_on_x11.sh PROGRAM
set -euo pipefail
if [ -z "${ZIFRAX_IN_XVFB:-}" ]; then
    ZIFRAX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi
fail() { echo "puzzle_lines_on_x11: $*" >&2; exit 1; }
source "$(dirname "$0")/../../scripts/x11_window.sh"
wait_for_display || fail "the X server on $DISPLAY takes no connection"
runtime="$(mktemp -d)"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime"
"$1" & pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$runtime"' EXIT

put() { printf '%b' "$1" | xclip -selection clipboard; }
# keys KEY …: presses them in the window that has the focus, then lets it react.
keys() { xdotool key "$@"; sleep 0.3; }
# The grid as Strg+C copies it from the cell that has the focus.
grid() { put 'nichts'; keys ctrl+c; xclip -o -selection clipboard; }

main="$(x11_window 'Zifrax-Projekts$' "$pid")" || fail "the window does not appear"
xdotool windowfocus --sync "$main"
sleep 0.3
line=530070000600195000098000060800060003400803001700020006060000280000419005000080079
[ "$(grid)" = "$(printf '0%.0s' {1..81})" ] || fail "Strg+C does not copy the empty grid"

# The nine-line form with dots, pasted into cell 1.
put '53..7....\n6..195...\n.98....6.\n8...6...3\n4..8.3..1\n7...2...6\n.6....28.\n...419..5\n....8..79\n'
keys ctrl+v
[ "$(grid)" = "$line" ] || fail "the pasted puzzle is not in the grid: $(grid)"

# The pasted digits count as typed: the next puzzle line brings the save
# question, and Escape cancels it with the grid unchanged.
put "${line//5/0}"
keys ctrl+v
box="$(x11_window '^ZifRax for Windows$' "$pid")" || fail "pasting over typed digits does not ask whether to save"
xdotool windowfocus --sync "$box"
keys Escape
xdotool windowfocus --sync "$main"
[ "$(grid)" = "$line" ] || fail "cancelling the save question changed the grid"

# Other text goes into the cell: "7" behind the 5 of cell 1 makes 57, which
# cell entry refuses, emptying the cell.
put 7
keys End ctrl+v
[ "$(grid)" = "0${line:1}" ] || fail "text that is no puzzle line does not follow cell entry"

# With the digit of cell 2 selected by a double click, Strg+C copies only
# that digit. Cell 2 lies 64 to 105 pixels from the left and 16 to 57 below
# the menu bar, which is some 20 pixels high.
xdotool mousemove --window "$main" 84 60 click --repeat 2 1
sleep 0.3
keys ctrl+c
copied="$(xclip -o -selection clipboard)"
[ "$copied" = 3 ] || fail "Strg+C with a selection copies \"$copied\" instead of the selection"
echo "puzzle_lines_on_x11: pasting and copying puzzle lines works on X11"
