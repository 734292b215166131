#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it:
#   packaging/check_package.sh BUILD_DIR
# its file list and dependencies, then unpacks it and starts the unpacked
# program headless from another directory for a moment.
set -euo pipefail
build="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "check_package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=("$work"/out/zifrax_*.deb)
[ -f "${deb[0]}" ] || fail "no zifrax_*.deb built"

# The file list: program, link, sample puzzles and desktop integration.
files="$(dpkg-deb -c "${deb[0]}" | awk '{ print $6 }' | sed 's|^\./|/|')"
expected=(
    /usr/bin/zifrax
    /usr/lib/zifrax/zifrax
    /usr/share/applications/org.zifrax.Zifrax.desktop
    /usr/share/metainfo/org.zifrax.Zifrax.metainfo.xml
    /usr/share/icons/hicolor/scalable/apps/org.zifrax.Zifrax.svg
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/org.zifrax.Zifrax.png")
done
for file in "${expected[@]}"; do
    grep -qxF "$file" <<<"$files" || fail "$file is missing from the package"
done
grep -q '^/usr/lib/zifrax/Rätsel/.*\.zfx$' <<<"$files" || fail "no sample puzzle in /usr/lib/zifrax/Rätsel"
unexpected="$(grep -v -e '/$' -e '^/usr/lib/zifrax/Rätsel/.*\.zfx$' <<<"$files" | grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)"
[ -z "$unexpected" ] || fail "unexpected files in the package: $unexpected"

depends="$(dpkg-deb -f "${deb[0]}" Depends)"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 fonts-liberation qt6-translations-l10n; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# Unpacked, the link leads to the real program, whose "Rätsel" lies beside it.
dpkg-deb -x "${deb[0]}" "$work/root"
[ "$(readlink "$work/root/usr/bin/zifrax")" = ../lib/zifrax/zifrax ] || fail "/usr/bin/zifrax is not the relative link"
program="$(readlink -f "$work/root/usr/bin/zifrax")"
ls "$(dirname "$program")/Rätsel/"*.zfx >/dev/null 2>&1 || fail "no sample puzzles beside $program"

# Started through the link from another directory, it must still be running
# after two seconds (timeout then ends it with status 124).
status=0
(cd / && QT_QPA_PLATFORM=offscreen timeout 2 "$work/root/usr/bin/zifrax" >"$work/run.log" 2>&1) || status=$?
[ "$status" -eq 124 ] || { cat "$work/run.log" >&2; fail "the unpacked program ended with status $status instead of running"; }

echo "check_package: $(basename "${deb[0]}") ($(du -k "${deb[0]}" | cut -f1) KiB) is fine; Depends: $depends"
