#!/usr/bin/env bash
# Sets up the machine, builds the program if needed and starts it on the system's default
# printer. orvel-settings is built beside it: the install rules take both.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/setup.sh run
build=build/app
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVEL_BUILD_TESTS=OFF >/dev/null
fi
./tools/cmake-build run "$build" --target varnet-orvel orvel-settings
exec "$build/ui/varnet-orvel"
