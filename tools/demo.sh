#!/bin/sh
# Installs what is missing, builds, and starts the program in its run directory (the build folder,
# which holds the program, bmps/ and help/).
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target brennix
cd build
exec ./brennix
