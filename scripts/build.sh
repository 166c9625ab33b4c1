#!/usr/bin/env bash
# Installs what is missing, then configures and builds Wendle: the Linux
# program into build/ and the Windows program (cross-built) into build-win32/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build-win32
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWENDLE_WIN32_BUILD="$PWD/build-win32" >/dev/null
cmake --build build
