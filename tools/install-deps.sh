#!/bin/sh
# Installs the Debian/Ubuntu packages the build, the tests and the demo need, if missing.
set -e
packages="build-essential cmake pkg-config libwxgtk3.2-dev libgtest-dev libgmock-dev libbenchmark-dev
 clang libclang-rt-14-dev libx11-dev xvfb xauth fonts-dejavu-core imagemagick xdotool poppler-utils"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
