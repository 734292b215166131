#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a built tree and checks it:
#   packaging/check_package.sh BUILD_DIR
# lintian's verdict, its file list and dependencies; then it installs the
# package into a scratch root and checks what a desktop meets there: the .zfx
# file type, the desktop entry, and the program started with puzzle files as
# a file manager starts it (under Xvfb, answered with real key presses).
set -euo pipefail
build="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "check_package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=("$work"/out/zifrax_*.deb)
deb="${deb[0]}"
[ -f "$deb" ] || fail "no zifrax_*.deb built"

# Debian's checker: any error or warning fails; the infos that remain are
# explained in the README.
lintian --pedantic --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>"$work/lintian.err" ||
    { cat "$work/lintian.log" "$work/lintian.err" >&2; fail "lintian --pedantic found errors or warnings"; }
echo "check_package: lintian --pedantic $(basename "$deb"):"
sed 's/^/    /' "$work/lintian.log"

# The file list: program, link, sample puzzles, documentation, desktop integration.
files="$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')"
expected=(
    /usr/games/zifrax
    /usr/lib/zifrax/zifrax
    /usr/share/doc/zifrax/copyright
    /usr/share/doc/zifrax/changelog.gz
    /usr/share/man/man6/zifrax.6.gz
    /usr/share/applications/org.zifrax.Zifrax.desktop
    /usr/share/metainfo/org.zifrax.Zifrax.metainfo.xml
    /usr/share/mime/packages/org.zifrax.Zifrax.xml
    /usr/share/icons/hicolor/scalable/apps/org.zifrax.Zifrax.svg
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-zifrax-puzzle.svg
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

depends="$(dpkg-deb -f "$deb" Depends)"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 fonts-liberation qt6-translations-l10n; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# Installed into a scratch root, the link leads to the real program, whose
# "Rätsel" lies beside it.
root="$work/root"
dpkg-deb -x "$deb" "$root"
[ "$(readlink "$root/usr/games/zifrax")" = ../lib/zifrax/zifrax ] || fail "/usr/games/zifrax is not the relative link"
program="$root/usr/games/zifrax"
sample="$root/usr/lib/zifrax/Rätsel/Leicht.zfx"
[ -f "$sample" ] || fail "no Leicht.zfx beside the program"
[ "$("$program" --version)" = "Zifrax 15.07.07" ] || fail "zifrax --version does not name the version"

# The file type, as the desktop's own tools see it: by the name, and by the
# magic line for a puzzle saved without the extension.
share="$root/usr/share"
desktop_tool() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION \
        -u GNOME_DESKTOP_SESSION_ID XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$share:/usr/share" "$@"
}
desktop_tool update-mime-database "$share/mime"
cp "$sample" "$work/Rätsel ohne Endung"
for file in "$sample" "$work/Rätsel ohne Endung"; do
    type="$(desktop_tool xdg-mime query filetype "$file")"
    [ "$type" = application/x-zifrax-puzzle ] || fail "xdg-mime takes $file for $type"
done
entry="$share/applications/org.zifrax.Zifrax.desktop"
[ -z "$(desktop-file-validate "$entry")" ] || { desktop-file-validate "$entry" >&2; fail "the installed desktop entry is not valid"; }
grep -qx 'Exec=zifrax %f' "$entry" || fail "the desktop entry does not pass the file to zifrax"
desktop_tool update-desktop-database "$share/applications"
handler="$(desktop_tool xdg-mime query default application/x-zifrax-puzzle)"
[ "$handler" = org.zifrax.Zifrax.desktop ] || fail "puzzle files would open with '$handler'"

# Started as a file manager starts it, from another directory, under Xvfb:
# a sample puzzle shows in the window with its name in the caption; a
# defective file is reported and the program ends once the message is
# confirmed; a missing file is reported and the empty window stays.
printf 'kein Rätsel\r\n' >"$work/kaputt.zfx"
cat >"$work/start.sh" <<'SCRIPT'
set -euo pipefail
program="$1" sample="$2" work="$3"  # $4: scripts/x11_window.sh
fail() { echo "check_package: $*" >&2; exit 1; }
source "$4"
# confirm WINDOW: presses Return in it, as a user does.
confirm() { xdotool windowfocus --sync "$1" key Return; }
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd /

"$program" "$sample" & pid=$!
x11_window " \\(Leicht\\.zfx\\)$" "$pid" >/dev/null || fail "started with Leicht.zfx, no window names the file"
kill "$pid"; wait "$pid" 2>/dev/null || true

"$program" "$work/kaputt.zfx" & pid=$!
box="$(x11_window "^Zifrax for Windows$" "$pid")" || fail "a defective file brings no message"
confirm "$box"
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program goes on after the defective-file message"
status=0; wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "after the defective-file message the program ended with status $status"

"$program" "$work/fehlt.zfx" & pid=$!
box="$(x11_window "^Zifrax for Windows$" "$pid")" || fail "a missing file brings no message"
confirm "$box"
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the program ended after the message about a missing file"
x11_window "Zifrax-Projekts$" "$pid" >/dev/null || fail "after a missing file the caption is not the program title"
kill "$pid"; wait "$pid" 2>/dev/null || true
SCRIPT
# -noreset: the program is started three times, and an X server that resets
# when its last client has gone refuses a start that comes in the meantime.
xvfb-run -a -s "-screen 0 800x600x24 -noreset" bash "$work/start.sh" "$program" "$sample" "$work" \
    "$(realpath "$(dirname "$0")/../scripts/x11_window.sh")" ||
    fail "starting the installed program with puzzle files went wrong"

echo "check_package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) is fine; Depends: $depends"
