#!/bin/bash
# The Windows build of the program and its packages, from a fresh clone: cross-compiled with
# MinGW-w64 and tested under Wine.
#   1. installs what is missing and builds the Windows libraries into a cache outside the
#      checkout (tools/windows-deps.sh; a second run finds them built);
#   2. builds the simulator and the Linux brennix-read, which the checks below need
#      (build-windows/host);
#   3. cross-builds the program, the console programs and the tests into build-windows/;
#   4. runs the Windows tests under Wine on a virtual display (Xvfb), in a Wine prefix of their own
#      (build-windows/wine) with a default printer printing to a file, and with two serial ports
#      mapped to simulators on pseudo-terminals: COM5 a data collector (BRENNIX_TEST_COM) and COM6
#      a recorder that never answers Identify (BRENNIX_TEST_SILENT_COM);
#   5. the readout check: brennix-read.exe reads a collector through the Windows serial port (COM7)
#      into a file whose name has Cyrillic letters and spaces, and the file must equal, byte for
#      byte, the one the Linux brennix-read writes from a simulator with the same settings;
#   6. makes the packages, build-windows/Brennix-1.2.1-win64.zip and the installer
#      build-windows/Brennix-1.2.1-win64.exe, and checks them in a fresh Wine prefix under Xvfb
#      (tools/windows-package-check.sh).
# Arguments are passed on to ctest (for example -R windowsSerial).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$root/build-windows
jobs=$(nproc)

say() { echo "windows: $*" >&2; }

"$here/install-deps.sh" build >&2
deps=$("$here/windows-deps.sh")

say "building the simulator and the Linux brennix-read"
cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENNIX_GUI=OFF -DBRENNIX_TESTS=OFF \
    -DBRENNIX_BENCH=OFF >/dev/null
cmake --build "$build/host" -j"$jobs" --target brennix-sim brennix-read
sim=$build/host/brennix-sim

say "cross-building for Windows"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBRENNIX_WIN_DEPS="$deps" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENNIX_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs"

export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
work=$(mktemp -d /tmp/brennix-windows.XXXXXX)
simulators=()
display=""
finish() {
    [ ${#simulators[@]} -eq 0 ] || kill "${simulators[@]}" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -z "$display" ] || kill "$display" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

# A virtual display of its own for Wine's windows (the window tests), there before Wine's first
# process starts.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
display=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { say "Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display")

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "making the Wine prefix"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # wx's default GUI font under Wine is "MS Shell Dlg", which Wine's GDI+ does not find; a font
    # it does find stands in for it (set once wineboot is done: a value set while it runs is lost).
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'MS Shell Dlg' /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
    # A default printer (printing to a file) for the print preview and the page set-up.
    wine "$build/brennix-test-printer.exe" "$(winepath -w "$root/tests/support/testPrinter.ppd")"
    wineserver -w
fi

# Starts a simulator with the options on a pseudo-terminal of its own, linked as $work/NAME; the
# terminal's path is left in $terminal.
start_simulator() {
    local name=$1
    shift
    "$sim" --pty "$work/$name" "$@" >"$work/$name.out" 2>&1 &
    simulators+=($!)
    for _ in $(seq 100); do
        if [ -L "$work/$name" ]; then
            terminal=$(readlink "$work/$name")
            return 0
        fi
        sleep 0.1
    done
    say "the simulator $name did not come up"
    return 1
}
# Wine maps a port through its registry; its server reads the mapping when it starts.
map_port() { wine reg add 'HKLM\Software\Wine\Ports' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }

clock="2024-03-15 10:00:00"
start_simulator collector --collector 2 --seed 7 --clock "$clock"
map_port COM5 "$terminal"
start_simulator silent --fault Identify:noreply --clock "$clock"
map_port COM6 "$terminal"
start_simulator readout-windows --collector 3 --seed 1957 --clock "$clock"
map_port COM7 "$terminal"
start_simulator readout-linux --collector 3 --seed 1957 --clock "$clock"
wineserver -k
wineserver -w

# A persistent server whose services were started with their output detached: tests then start
# at once (else the services inherit each test's output, and ctest waits about 3 s per test).
wineserver -p </dev/null >/dev/null 2>&1
wineboot </dev/null >/dev/null 2>&1

say "running the Windows tests under Wine"
BRENNIX_TEST_COM=COM5 BRENNIX_TEST_SILENT_COM=COM6 ctest --test-dir "$build" --output-on-failure "$@"

say "the readout check"
# In a zone with daylight saving and the same rules since 1996 on both systems: Windows converts
# every date with the zone's present rules, the C library with those of its year.
export TZ=Europe/Berlin
linuxFile=$work/linux.brx
windowsFile="$work/кран 1.brx"
BRENNIX_COM1=$work/readout-linux "$build/host/brennix-read" COM1 "$linuxFile" >"$work/linux.out"
wine "$build/brennix-read.exe" COM7 "$(winepath -w "$windowsFile")" >"$work/windows.out" 2>"$work/windows.err" || {
    cat "$work/windows.out" "$work/windows.err" >&2
    say "brennix-read.exe failed"
    exit 1
}
[ ! -s "$work/windows.err" ] || { cat "$work/windows.err" >&2; say "brennix-read.exe reported errors"; exit 1; }
# Standard output in text mode: its lines end in CR LF.
tr -d '\r' <"$work/windows.out" | grep -qx "Cчитывание данных успешно завершено" || { say "no completion text"; exit 1; }
if ! cmp "$linuxFile" "$windowsFile"; then
    diff "$linuxFile" "$windowsFile" | head -n 20 >&2
    say "the data files differ"
    exit 1
fi
say "brennix-read.exe wrote $(grep -c '(type = "RAM"' "$windowsFile") cranes, $(wc -c <"$windowsFile") bytes, equal to the Linux file"

say "the packages"
(cd "$build" && cpack >/dev/null)
"$here/windows-package-check.sh" "$build"
