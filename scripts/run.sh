#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts Zifrax.
set -euo pipefail
ZIFRAX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ZIFRAX_ROOT/scripts/packages.sh"

install_missing_packages
build_zifrax zifrax

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: start Zifrax under Xvfb with: xvfb-run -a $ZIFRAX_ROOT/build/zifrax" >&2
    exit 1
fi
exec "$ZIFRAX_ROOT/build/zifrax"
