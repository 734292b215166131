# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that drive the program on an X11 screen (needs xdotool).
# x11_window PATTERN PID: prints the first window of process PID whose name
# matches the regular expression PATTERN, waiting up to five seconds for it.
x11_window() {
    for _ in $(seq 50); do
        xdotool search --all --pid "$2" --name "$1" 2>/dev/null | head -n 1 && return 0
        sleep 0.1
    done
    return 1
}
# wait_for_display: waits up to five seconds until the X server of $DISPLAY
# takes connections (a server started a moment ago may not yet).
wait_for_display() {
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
