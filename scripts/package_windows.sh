#!/usr/bin/env bash
# Builds build-win32/wendle-<version>-win64.zip (wendle.exe, wendle-report.exe,
# the read-me and the licence) and, beside it, the per-user installer
# build-win32/wendle-<version>-win64.msi.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --windows
cmake --build build-win32 --target windows_zip windows_msi
ls -l build-win32/wendle-*-win64.zip build-win32/wendle-*-win64.msi
