#!/bin/sh
# Installs the Debian/Ubuntu packages the build, the tests and the demo need, and the ru_RU.UTF-8
# locale the tests use, if missing.
set -e
packages="build-essential cmake pkg-config libwxgtk3.2-dev libgtest-dev libgmock-dev libbenchmark-dev
 clang libclang-rt-14-dev libx11-dev libgtk-3-dev xvfb xauth fonts-dejavu-core imagemagick xdotool
 poppler-utils libcairo2-dev locales"
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
# A locale whose decimal mark is a comma, for the tests that check the data file ignores it.
locale -a | grep -qi '^ru_RU\.utf-\?8$' || $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
