#!/usr/bin/env bash
# Sets up the machine, builds the project with the sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/setup.sh test
build=${ORVEL_TEST_BUILD:-build/test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEL_SANITIZE=ON >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --timeout 300 "$@"
