#!/bin/sh
# Makes the Debian package of the build with CPack and checks what it holds and needs: the
# program, its pictures and help books, the desktop entry, the icon and the MIME type, no
# simulator, and dependencies found by dpkg-shlibdeps.
# Usage: debianPackageTest.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
out=$(mktemp -d /tmp/brennix-deb-XXXXXX)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
set -- "$out"/brennix_*.deb
[ -f "$1" ] || fail "no brennix_*.deb made"
deb=$1
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/brennix ./usr/bin/brennix-export ./usr/bin/brennix-read \
            ./usr/share/brennix/bmps/connect.32.png ./usr/share/brennix/bmps/logo.200.png \
            ./usr/share/brennix/bmps/brennix.48.png \
            ./usr/share/brennix/help/brennix.htb ./usr/share/brennix/help/velmora.htb \
            ./usr/share/applications/brennix.desktop \
            ./usr/share/icons/hicolor/48x48/apps/brennix.png \
            ./usr/share/icons/hicolor/scalable/apps/brennix.svg \
            ./usr/share/mime/packages/brennix.xml; do
    echo "$contents" | grep -qxF "$path" || fail "$path is not in $(basename "$deb")"
done
echo "$contents" | grep -q "brennix-sim" && fail "the simulator is in the package"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libwxgtk3.2 libc6 wx3.2-i18n; do
    echo "$depends" | grep -q "$needed" || fail "Depends lacks $needed: $depends"
done
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $depends"
