#!/bin/sh
# Installs what is missing, builds, and starts the program in its run directory (the build folder,
# which holds the program, bmps/ and help/), with a simulated data collector of three recorders
# on a pseudo-terminal behind "COM1". The simulator stops when the program exits.
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENNIX_TESTS=OFF -DBRENNIX_BENCH=OFF
cmake --build build -j"$(nproc)" --target brennix brennix-sim
cd build

# A link left behind by an earlier run that was killed.
if [ -L ttyBRX ]; then rm -f ttyBRX; fi
./brennix-sim --pty ttyBRX --collector 3 --seed 1957 --baud 115200 >/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM HUP
# The link appears once the device is ready to answer.
tries=0
while [ ! -L ttyBRX ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$sim" 2>/dev/null; then
        echo "the simulator did not start" >&2
        exit 1
    fi
    sleep 0.1
done

BRENNIX_COM1="$PWD/ttyBRX" ./brennix
