#!/usr/bin/env bash
# Builds the Debian package build/wendle_<version>_<arch>.deb.
# Install it with: sudo apt-get install ./build/wendle_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
(cd build && cpack -G DEB --config CPackConfig.cmake)
ls build/wendle_*.deb
