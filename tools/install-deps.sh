#!/bin/sh
# Installs the Debian 12 / Ubuntu 24.04 packages that are missing for one role:
#   install-deps.sh build   what building and running the program and the simulator need (the demo)
#   install-deps.sh test    that, and what the tests, benchmarks, fuzzing and packaging need, with
#                           the ru_RU.UTF-8 locale the tests use (the default)
# Every package named here exists under this name in both releases.
set -e
role=${1:-test}
build="build-essential cmake pkg-config libwxgtk3.2-dev libcairo2-dev wx3.2-i18n fonts-dejavu-core"
test="libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev libx11-dev libgtk-3-dev
 xvfb xauth imagemagick xdotool openbox poppler-utils python3 locales desktop-file-utils dpkg-dev"
case "$role" in
    build) packages=$build ;;
    test) packages="$build $test" ;;
    *) echo "usage: $0 [build|test]" >&2; exit 2 ;;
esac
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi
if [ "$role" = test ]; then
    # A locale whose decimal mark is a comma, for the tests of the Russian locale and of data files
    # that must not depend on it.
    locale -a | grep -qi '^ru_RU\.utf-\?8$' || $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
