#!/bin/sh
# Installs what is missing, builds, and runs every test (the GUI tests under a virtual display).
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENNIX_TESTS=ON -DBRENNIX_BENCH=ON
cmake --build build -j"$(nproc)"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
