#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: the Linux program's tests,
# the end-to-end tests under their own private X display, the Windows
# program's tests under Wine, and the unit and widget tests once more built
# with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --windows
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE= -DWENDLE_SANITIZE=ON >/dev/null
cmake --build build-asan
cmake -S . -B build -DWENDLE_SANITIZED_BUILD="$PWD/build-asan" >/dev/null
cd build
# Two at a time: the end-to-end tests take turns on the display while the
# rest runs beside them.
ctest --output-on-failure --timeout 300 -j2 "$@"
