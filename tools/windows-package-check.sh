#!/bin/bash
# Checks the Windows packages in the build folder $1 under Wine, on the display in $DISPLAY
# (tools/windows.sh gives it one of Xvfb), in a fresh Wine prefix of its own:
#   1. the ZIP unpacked into C:\ starts: brennix.exe, started from another folder, shows its main
#      window "Brennix 1.2.1" (a screenshot of it is left as $1/package-check.png);
#   2. the installer, run silently, installs the program, the Start-menu shortcut and the .brx
#      file type that opens files in the program;
#   3. its uninstaller removes all of that and leaves a data file kept in the program's folder.
set -eu
build=$(cd "$1" && pwd)
version=1.2.1
package=Brennix-$version-win64

say() { echo "windows-package-check: $*" >&2; }
fail() { say "$*"; exit 1; }

export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/brennix-package-check.XXXXXX)
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
program=""
finish() {
    [ -z "$program" ] || kill "$program" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap finish EXIT

wineboot -i >/dev/null 2>&1
wineserver -w
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'MS Shell Dlg' /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
wineserver -w

say "the ZIP"
unzip -q "$build/$package.zip" -d "$WINEPREFIX/drive_c"
[ -f "$WINEPREFIX/drive_c/$package/brennix.exe" ] || fail "no $package/brennix.exe in the ZIP"
(cd "$WINEPREFIX/drive_c" && exec wine "C:\\$package\\brennix.exe") >/dev/null 2>&1 &
program=$!
window=""
for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name "^Brennix $version\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || fail "brennix.exe ended before its window appeared"
    sleep 0.5
done
[ -n "$window" ] || fail "no window \"Brennix $version\" within a minute"
sleep 2
import -window root "$build/package-check.png"
say "the main window \"$(xdotool getwindowname "$window")\" appeared (screenshot: $build/package-check.png)"
kill "$program" 2>/dev/null || true
program=""
wineserver -k
wineserver -w

say "the installer"
wine "$build/$package.exe" /S
wineserver -w
folder="$WINEPREFIX/drive_c/Program Files/Brennix"
for file in brennix.exe brennix-read.exe bmps/open.32.png help/brennix.htb ru/wxstd-3.2.mo Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "the installer did not install $file"
done
shortcut=$(find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" -name Brennix.lnk | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
command=$(wine reg query 'HKLM\Software\Classes\Brennix.DataFile\shell\open\command' /ve 2>/dev/null | tr -d '\r')
echo "$command" | grep -qF '"C:\Program Files\Brennix\brennix.exe" "%1"' || fail "no open command for data files: $command"
wine reg query 'HKLM\Software\Classes\.brx' /ve 2>/dev/null | grep -q Brennix.DataFile || fail ".brx is not a Brennix data file"

say "the uninstaller"
printf 'kept\n' > "$folder/кран 1.brx"
wine "C:\\Program Files\\Brennix\\Uninstall.exe" /S
# The uninstaller runs from a copy of itself and returns at once: wait for the copy.
for _ in $(seq 60); do
    [ -f "$folder/brennix.exe" ] || [ -f "$folder/Uninstall.exe" ] || break
    sleep 0.5
done
wineserver -w
[ "$(cd "$folder" && find . -mindepth 1)" = "./кран 1.brx" ] || fail "the uninstaller left: $(cd "$folder" && find . -mindepth 1 | tr '\n' ' ')"
[ -z "$(find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" -name Brennix.lnk)" ] ||
    fail "the uninstaller left the shortcut"
! wine reg query 'HKLM\Software\Classes\Brennix.DataFile' >/dev/null 2>&1 || fail "the uninstaller left the file type"
! wine reg query 'HKLM\Software\Classes\.brx' >/dev/null 2>&1 || fail "the uninstaller left .brx"
say "ZIP $(stat -c %s "$build/$package.zip") bytes, installer $(stat -c %s "$build/$package.exe") bytes: both work"
