#!/usr/bin/env bash
# Wendle logging every second for DURATION seconds (default 300) beside the
# shell loop `while sleep 1; do date +%X >> f; done`, in the same run.
# For each: lines, skipped and repeated seconds, and drift from the ideal
# schedule of one line a second.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
export DURATION=${DURATION:-300} WENDLE=$PWD/build/app/wendle E2E_TOOLS=$PWD/build/tests/e2e
export BENCH_DIR=$PWD/bench LC_ALL=C.UTF-8
exec tests/e2e/xsession.sh bash -c '
set -u
source "$BENCH_DIR/../tests/e2e/lib.sh"
mkdir -p "$work/logs"
seed_store "$work/logs" 0
start_wendle
slider_to_one_second
click_start
( while sleep 1; do date +%X >> "$work/loop.log"; done ) &
loop=$!
sleep "$DURATION"
click_stop
kill $loop
close_window
analyse() {
    tr -d "\r" <"$2" | awk -F: -v name="$1" "
        { t = \$1 * 3600 + \$2 * 60 + \$3
          if (NR == 1) first = t
          else { d = t - prev; if (d == 0) rep++; else if (d > 1) skip += d - 1 }
          prev = t }
        END { printf \"%-10s lines %5d  skipped %3d  repeated %3d  drift %+d s over %d s\n\",
              name, NR, skip, rep, (prev - first) - (NR - 1), prev - first }"
}
echo "one line a second for $DURATION s:"
analyse wendle "$work/logs/$(date +%Y-%m-%d).log"
analyse shell-loop "$work/loop.log"
'
