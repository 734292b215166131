#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
ZIFRAX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ZIFRAX_ROOT/scripts/packages.sh"

install_missing_packages
build_zifrax

export QT_QPA_PLATFORM=offscreen
cd "$ZIFRAX_ROOT/build"
ctest --output-on-failure -j "$(nproc)"
