#!/usr/bin/env bash
# Builds build-win32/wendle-<version>-win64.zip: wendle.exe and its read-me.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --windows
cmake --build build-win32 --target windows_zip
ls build-win32/wendle-*-win64.zip
