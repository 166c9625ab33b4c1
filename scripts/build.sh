#!/usr/bin/env bash
# Installs what is missing, then configures and builds the Linux program into
# build/; with --windows also the Windows program (cross-built) into
# build-win32/, whose tests the Linux build's suite then runs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
windows=()
if [ "${1:-}" = --windows ]; then
    cmake -S . -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
    cmake --build build-win32
    windows=(-DWENDLE_WIN32_BUILD="$PWD/build-win32")
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${windows[@]}" >/dev/null
cmake --build build
