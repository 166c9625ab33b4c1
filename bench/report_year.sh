#!/usr/bin/env bash
# A year of one-second logs (365 files, 31.5 million lines, about 315 MB):
# wendle-report --format json over the whole year beside an awk script that
# computes the same stretches and totals, in the same run; peak memory for
# the year beside a single day; and the report window on the last 7 days.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
year=$(mktemp -d)
trap 'rm -rf "$year"' EXIT

python3 - "$year" <<'PY'
import datetime, sys
day = "".join("%02d:%02d:%02d\r\n" % (t // 3600, t // 60 % 60, t % 60) for t in range(86400))
today = datetime.date.today()
for back in range(365):
    with open("%s/%s.log" % (sys.argv[1], today - datetime.timedelta(days=back)), "w", newline="") as f:
        f.write(day)
PY
first=$(ls "$year" | head -n1 | cut -c1-10)
last=$(ls "$year" | tail -n1 | cut -c1-10)
echo "year: $(ls "$year" | wc -l) files, $(cat "$year"/*.log | wc -l) lines, $(du -sm "$year" | cut -f1) MB"
cat "$year"/*.log >/dev/null # both read from the page cache

# What a user would write: the same rules, one file after the other.
cat >"$year/stretches.awk" <<'AWK'
function flush() { if (n) { total += last - start; end = last } else end = -1; n = 0 }
FNR == 1 { flush(); iv = 0; before = end }
{
    split($1, f, ":"); t = f[1] * 3600 + f[2] * 60 + f[3]
    if (n && t >= last && (iv == 0 ? t - last <= 62 : t - last <= 2 * iv + 1)) {
        if (t > last) {
            if (n == 1) {
                start = last - (t - last)
                # The day's first interval reaches back before midnight: the
                # day before runs to 24:00 when it ended by then.
                if (start < 0 && FNR == 2 && before >= 86400 + start - 2) total += 86400 - before
                if (start < 0) start = 0
            }
            iv = t - last
        }
        n++; last = t; next
    }
    flush(); start = t - 10 < 0 ? 0 : t - 10; last = t; n = 1
}
END { flush(); print total }
AWK

measure() { # label command... -> "seconds peak_kib" of the best of three runs
    python3 - "$@" <<'PY'
import resource, subprocess, sys, time
best = None
for _ in range(3):
    start = time.perf_counter()
    out = subprocess.run(sys.argv[2:], stdout=subprocess.PIPE, check=True).stdout
    took = time.perf_counter() - start
    best = took if best is None else min(best, took)
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
print("%.3f %d %s" % (best, peak, sys.argv[1]))
PY
}
report=build/app/wendle-report
w=$(measure wendle "$report" --folder "$year" --format json "$first" "$last")
a=$(measure awk awk -f "$year/stretches.awk" "$year"/*.log)
d=$(measure day "$report" --folder "$year" --format json "$last")
wt=$(echo "$w" | cut -d' ' -f1); at=$(echo "$a" | cut -d' ' -f1)
echo "wendle-report --format json, the year: $wt s, peak $(echo "$w" | cut -d' ' -f2) KiB"
echo "awk, the same stretches and totals:     $at s"
awk -v a="$at" -v w="$wt" 'BEGIN { printf "ratio awk / wendle-report: %.1f\n", a / w }'
echo "wendle-report, a single day: peak $(echo "$d" | cut -d' ' -f2) KiB"
total=$("$report" --folder "$year" --format json "$first" "$last" | python3 -c 'import json,sys; print(json.load(sys.stdin)["total_seconds"])')
echo "totals agree: wendle-report $total s, awk $(awk -f "$year/stretches.awk" "$year"/*.log) s"
QT_QPA_PLATFORM=offscreen build/bench/report_window_bench "$year" 2>/dev/null
