#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a program on an X11 desktop of its own: an Xvfb screen managed by
# openbox, which gives windows the focus as a user's desktop does.
#   tests/on_desktop.sh PROGRAM [ARGUMENT …]
set -eu
if [ -z "${ZIFRAX_ON_DESKTOP:-}" ]; then
    exec env ZIFRAX_ON_DESKTOP=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
ready="$(mktemp -u)"
openbox --sm-disable --startup "touch $ready" &
manager=$!
for _ in $(seq 100); do [ -e "$ready" ] && break; sleep 0.1; done
rm -f "$ready"
status=0
"$@" || status=$?
kill "$manager"
exit "$status"
