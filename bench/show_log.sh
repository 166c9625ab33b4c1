#!/usr/bin/env bash
# "Show Recent Log" on a 1 MB and a 1 GB day's log: time of each and ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/mb" "$dir/gb"
yes $'14:03:12\r' | head -c $((1024 * 1024)) >"$dir/mb/2003-12-02.log" || true
yes $'14:03:12\r' | head -c $((1024 * 1024 * 1024)) >"$dir/gb/2003-12-02.log" || true
sync
out=$(build/bench/bench_show_log "$dir/mb/2003-12-02.log" "$dir/gb/2003-12-02.log")
echo "$out"
mb=$(echo "$out" | sed -n 1p | awk '{print $5}')
gb=$(echo "$out" | sed -n 2p | awk '{print $5}')
awk -v a="$mb" -v b="$gb" 'BEGIN { printf "ratio 1 GB / 1 MB: %.2f\n", b / a }'
