#!/usr/bin/env bash
# Builds the registry file parser with clang's libFuzzer and the address and
# undefined-behaviour sanitizers, then fuzzes it for a bounded time.
#   run_fuzz.sh WORK-DIR SECONDS [extra libFuzzer options]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../../src" && pwd)
work=$1
seconds=$2
shift 2
mkdir -p "$work/corpus" "$work/artifacts"

binary="$work/reg_document_fuzz"
sources=("$here/reg_document_fuzz.cpp" "$src/settings/reg_document.cpp")
if [ ! -x "$binary" ] || [ -n "$(find "${sources[@]}" "$src/settings/reg_document.h" -newer "$binary")" ]; then
    # shellcheck disable=SC2046
    clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
        -fno-sanitize-recover=undefined -I"$src" $(pkg-config --cflags Qt6Core) \
        "${sources[@]}" $(pkg-config --libs Qt6Core) -o "$binary"
fi

# New inputs go to the work corpus; the committed seeds are only read.
ASAN_OPTIONS=detect_leaks=1 "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$@" \
    "$work/corpus" "$here/corpus"
