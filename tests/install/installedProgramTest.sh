#!/bin/sh
# Installs the build into a temporary prefix and starts the installed program from another
# folder, as a menu entry or a terminal elsewhere would, under a Russian locale: the window comes
# up without an error box (every picture found), and F1 opens the help viewer on the manual's
# first page in Russian. Needs a display (the test command runs ctest under Xvfb) and xdotool.
# Usage: installedProgramTest.sh BUILD_DIR
set -eu
build=$1
prefix=$(mktemp -d /tmp/brennix-prefix-XXXXXX)
elsewhere=$(mktemp -d /tmp/brennix-elsewhere-XXXXXX)
program=
cleanup() {
    if [ -n "$program" ]; then kill "$program" 2>/dev/null || true; wait "$program" 2>/dev/null || true; fi
    rm -rf "$prefix" "$elsewhere"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/brennix.desktop" || fail "the desktop entry is not valid"

# The titles of the visible windows that have one, one a line.
titles() {
    for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        xdotool getwindowname "$window" 2>/dev/null || true
    done
}
# Waits up to about 10 s for a visible window titled exactly $1.
waitFor() {
    tries=0
    until titles | grep -qxF "$1"; do
        tries=$((tries + 1))
        [ "$tries" -le 50 ] || fail "no window \"$1\"; windows: $(titles | tr '\n' '|')"
        sleep 0.2
    done
}

cd "$elsewhere"
HOME="$elsewhere" LC_ALL= LANGUAGE= LANG=ru_RU.UTF-8 "$prefix/bin/brennix" 2>"$elsewhere/stderr" &
program=$!
waitFor "Brennix 1.2.1"
sleep 1   # a failed picture shows its error box once the window is up
others=$(titles | grep -vxF "Brennix 1.2.1" || true)
[ -z "$others" ] || fail "unexpected windows at start: $others"

main=$(xdotool search --onlyvisible --name '^Brennix 1\.2\.1$' | head -n 1)
xdotool windowfocus --sync "$main"
xdotool key F1
# The viewer's title carries the title of the page it shows: the manual's first page.
waitFor "Справка: Справка Brennix"
grep -i "image\|help" "$elsewhere/stderr" && fail "messages on the terminal"
echo "installed program: pictures and help found from $elsewhere"
