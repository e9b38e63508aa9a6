#!/bin/bash
# Builds the check of the Windows build infrastructure and runs it under Wine: the GoogleTest
# program through ctest, the window under a virtual display, where it must appear. Leaves the
# screenshot hello.png in the build folder (default build-wintest/ in the checkout).
set -eu
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = "--show" ]; then
    # Under xvfb-run: start the window, wait for it, take the screenshot, close it.
    cd "$2"
    wine wintest_hello.exe &
    for _ in $(seq 120); do
        window=$(xdotool search --onlyvisible --name "Brennix wintest" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "${window:-}" ] || { echo "the window did not appear" >&2; wineserver -k; exit 1; }
    echo "window \"$(xdotool getwindowname "$window")\" appeared"
    sleep 2
    import -window root hello.png
    wineserver -k
    wait || true
    exit 0
fi

build=$(mkdir -p "${1:-$here/../../build-wintest}" && cd "${1:-$here/../../build-wintest}" && pwd)
deps=$("$here/../windows-deps.sh")
cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$here/../../cmake/mingw-w64.cmake" \
    -DBRENNIX_WIN_DEPS="$deps" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)"

export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i
    # wx's default GUI font under Wine is "MS Shell Dlg"; Wine's GDI+ finds no family of that name
    # (nor Tahoma, which it stands for), so wxGCDC would draw no text in it. On Windows the
    # default GUI font is a real family; here a font Wine's GDI+ does find stands in for it.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'MS Shell Dlg' /t REG_SZ /d 'Liberation Sans' /f
    # A Wine server started without a display serves no windows later: let it end.
    wineserver -w
fi

# Tests start at once with a persistent server whose services were started with their output
# detached; otherwise the services inherit each test's output pipe, and ctest waits about 3 s
# per test for them to end with the server.
wineserver -p </dev/null >/dev/null 2>&1
wineboot </dev/null >/dev/null 2>&1
ctest --test-dir "$build" --output-on-failure
wineserver -k
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --show "$build"
