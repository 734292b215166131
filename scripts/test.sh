#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
ZIFRAX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ZIFRAX_ROOT/scripts/packages.sh"

install_missing_packages
build_zifrax
export QT_QPA_PLATFORM=offscreen

# The Debian package: its files and dependencies, and that it starts unpacked.
"$ZIFRAX_ROOT/packaging/check_package.sh" "$ZIFRAX_ROOT/build"

# The puzzle file tests once more under AddressSanitizer and UBSan: only the
# plain C++ format library and its test program are built there.
cmake -S "$ZIFRAX_ROOT" -B "$ZIFRAX_ROOT/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DZIFRAX_SANITIZE=ON >/dev/null
cmake --build "$ZIFRAX_ROOT/build-sanitize" -j "$(nproc)" --target test_puzzle_format
"$ZIFRAX_ROOT/build-sanitize/tests/test_puzzle_format" -silent

# Every test, last, so that its summary closes the run.
cd "$ZIFRAX_ROOT/build"
ctest --output-on-failure -j "$(nproc)"
