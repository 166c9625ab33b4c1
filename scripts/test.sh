#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, the end-to-end tests under
# their own private X display included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest --output-on-failure --timeout 300 "$@"
