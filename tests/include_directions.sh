#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source folder includes a folder it must not know: dependencies
# run app -> files, print, solver, appearance, disk, core; files -> disk, core;
# print -> appearance, disk, core; solver, appearance -> core; disk -> nothing.
# Nothing under solver/ or core/ includes a Qt header.
set -uo pipefail
cd "$1"
declare -A allowed=([core]="" [disk]="" [solver]="core" [files]="disk core" [print]="appearance disk core"
                   [appearance]="core" [app]="files print solver appearance disk core")
status=0
for folder in "${!allowed[@]}"; do
    while IFS= read -r line; do
        target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"${line#*:*:}")
        [ "$target" = "$folder" ] && continue
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$folder must not include $target: $line"
            status=1
        fi
    done < <(grep -rnE --include='*.cpp' --include='*.h' '^#include "[^/"]+/' "$folder")
done
if grep -rnE --include='*.cpp' --include='*.h' '^#include <Q' solver core; then
    echo "solver/ and core/ are plain C++ without Qt"
    status=1
fi
exit $status
