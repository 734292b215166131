# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by run.sh and test.sh: installs the Debian packages that building,
# running and testing need, when any of them is missing.
ZIFRAX_PACKAGES=(cmake g++ make qt6-base-dev libgl-dev qt6-translations-l10n fonts-liberation
                 xvfb xauth openbox poppler-utils
                 desktop-file-utils appstream librsvg2-bin dpkg-dev file
                 lintian shared-mime-info xdg-utils libfile-mimeinfo-perl xdotool xclip)

install_missing_packages() {
    local missing=()
    for package in "${ZIFRAX_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "Missing Debian packages: ${missing[*]}" >&2
            echo "Install them as root: apt-get install ${missing[*]}" >&2
            return 1
        fi
    fi
    echo "Installing Debian packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build_zifrax [TARGET …]: configures build/ and builds the given targets, or all.
build_zifrax() {
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake -S "$ZIFRAX_ROOT" -B "$ZIFRAX_ROOT/build" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
        cmake --build "$ZIFRAX_ROOT/build" -j "$(nproc)" "${targets[@]}"
}
