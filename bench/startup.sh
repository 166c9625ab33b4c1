#!/usr/bin/env bash
# Start-up time to the window shown and idle memory (RSS) of Wendle beside a
# minimal Qt 6 window, under a private Xvfb display. Prints medians and ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
runs=${RUNS:-10}
export RUNS=$runs WENDLE=$PWD/build/app/wendle MINIMAL=$PWD/build/bench/minimal_qt_window
export E2E_TOOLS=$PWD/build/tests/e2e
exec tests/e2e/xsession.sh bash -c '
set -u
home=$(mktemp -d); trap "rm -rf $home" EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config
mkdir -p "$XDG_CONFIG_HOME/wendle"
# An earlier run chose a folder and no auto-start: the window comes straight up.
printf "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Quorvel\\\\Utils\\\\Wendle]\n\"LogFolder\"=\"%s\"\n\"Autostart\"=dword:00000000\n" "$home" >"$XDG_CONFIG_HOME/wendle/registry.reg"
measure() { # program title -> prints "milliseconds rss_kib" per run
    local program=$1 title=$2
    for _ in $(seq "$RUNS"); do
        local start end pid
        start=$(date +%s%N)
        "$program" >/dev/null 2>&1 &
        pid=$!
        until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.005; done
        end=$(date +%s%N)
        sleep 2
        echo "$(( (end - start) / 1000000 )) $(awk "/VmRSS/ {print \$2}" /proc/$pid/status)"
        kill $pid; wait $pid 2>/dev/null
        sleep 0.3
    done
}
median() { sort -n | awk "{ v[NR] = \$1 } END { print v[int((NR + 1) / 2)] }"; }
w=$(measure "$WENDLE" "Quorvel Wendle")
m=$(measure "$MINIMAL" "Minimal Qt Window")
wt=$(echo "$w" | cut -d" " -f1 | median); wr=$(echo "$w" | cut -d" " -f2 | median)
mt=$(echo "$m" | cut -d" " -f1 | median); mr=$(echo "$m" | cut -d" " -f2 | median)
echo "runs: $RUNS each (medians)"
printf "%-18s %6s ms to window shown, %7s KiB RSS idle\n" wendle "$wt" "$wr" minimal-qt-window "$mt" "$mr"
awk -v a=$wt -v b=$mt -v c=$wr -v d=$mr "BEGIN { printf \"ratios wendle/minimal: start-up %.2f, memory %.2f\n\", a / b, c / d }"
'
