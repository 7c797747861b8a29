#!/bin/sh
# Cross-compiles the Windows build of settings/ and printer/ with mingw-w64.
# Exits 77 (skipped) when the cross compiler is not installed.
#   check.sh BUILD_FOLDER
set -eu
compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null 2>&1; then
    echo "skipped: $compiler is not installed"
    exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
build=$1
cmake -S "$here" -B "$build" -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_CXX_COMPILER="$compiler" \
    -DCMAKE_BUILD_TYPE=Release >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2
