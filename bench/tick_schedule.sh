#!/usr/bin/env bash
# Wendle logging every second for DURATION seconds (default 600) beside the
# shell loop `while sleep 1; do date +%X >> f; done`, in the same run, both
# started just before a second's boundary (phase 0.99 s) and with the CPU
# loaded by one busy loop per core. For each: lines, skipped and repeated
# seconds, and drift from the ideal schedule of one line a second.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -n "${WENDLE:-}" ] || { bash scripts/build.sh >/dev/null; WENDLE=$PWD/build/app/wendle; }
export DURATION=${DURATION:-600} WENDLE E2E_TOOLS=${E2E_TOOLS:-$PWD/build/tests/e2e}
export BENCH_DIR=$PWD/bench LC_ALL=C.UTF-8
exec tests/e2e/xsession.sh bash -c '
set -u
source "$BENCH_DIR/../tests/e2e/lib.sh"
mkdir -p "$work/logs"
seed_store "$work/logs" 0
start_wendle
slider_to_one_second
busy=()
for _ in $(seq "$(nproc)"); do ( while :; do :; done ) & busy+=($!); done
# Both start 0.99 s into a second: the phase at which late ticks used to
# spill into the next second.
until [ "$(date +%N | cut -c1-2)" = 97 ]; do sleep 0.002; done
click_start_now() { xdotool mousemove --window "$wid" $(((75 + 1875 / 2) / 15)) $(((1440 + 315 / 2) / 15)) click 1; }
click_start_now &
( sleep 0.02; while sleep 1; do date +%X >> "$work/loop.log"; done ) &
loop=$!
sleep "$DURATION"
kill "${busy[@]}" $loop
click_stop
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
echo "one line a second for $DURATION s, started at phase 0.99 s, $(nproc) busy loops:"
analyse wendle "$work/logs/$(date +%Y-%m-%d).log"
analyse shell-loop "$work/loop.log"
'
