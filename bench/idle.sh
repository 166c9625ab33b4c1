#!/usr/bin/env bash
# What Wendle costs while it waits, beside the least a Qt 6 program with a
# window and a tray icon costs, both running at once on the same private
# Xvfb display with its own D-Bus session: CPU seconds per hour (utime +
# stime) and wake-ups per minute (voluntary and involuntary context switches
# of all of a process's threads) over DURATION seconds (default 120), after
# both have settled for SETTLE seconds (default 35). Cases: idle on a desktop
# without a tray, idle with icewm's XEmbed tray, idle with a
# StatusNotifierItem host (the tests' stand-in), and logging at one line a
# second and at one a minute (icewm's tray; the floor idle beside it).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --case ]; then
    [ -n "${WENDLE:-}" ] || { bash scripts/build.sh >/dev/null; WENDLE=$PWD/build/app/wendle; }
    export WENDLE DURATION=${DURATION:-120} SETTLE=${SETTLE:-35}
    export TRAY=${TRAY:-$PWD/build/bench/minimal_qt_tray_window}
    export E2E_TOOLS=${E2E_TOOLS:-$PWD/build/tests/e2e}
    echo "over ${DURATION} s each after ${SETTLE} s, Wendle and the floor (a Qt window + tray icon) side by side"
    printf "%-30s %-26s %9s %14s\n" case program "CPU s/h" "wake-ups/min"
    XSESSION_NO_TRAY=1 tests/e2e/xsession.sh bash "$0" --case "idle, no tray" none idle
    tests/e2e/xsession.sh bash "$0" --case "idle, XEmbed tray (icewm)" xembed idle
    XSESSION_NO_TRAY=1 tests/e2e/xsession.sh bash "$0" --case "idle, StatusNotifierItem host" sni idle
    tests/e2e/xsession.sh bash "$0" --case "logging every 1 s" xembed Home
    tests/e2e/xsession.sh bash "$0" --case "logging every 60 s" xembed End
    exit
fi

# One case, inside its display: --case NAME TRAY(none|xembed|sni) idle|Home|End
set +e
name=$2 tray=$3 slider=$4
source tests/e2e/lib.sh
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
bus_pid=$(echo "$bus" | sed -n 2p)
watcher= floor=
trap 'kill $app_pid $floor $watcher $bus_pid 2>/dev/null; rm -rf "$work"' EXIT
if [ "$tray" = sni ]; then
    "$E2E_TOOLS/fake_sni_watcher" "$work/click" >"$work/watcher.out" 2>&1 &
    watcher=$!
fi

if [ "$slider" = idle ]; then seed_store "$work" 0; else seed_store "$work" 1; fi
start_wendle
if [ "$slider" != idle ]; then
    slider_to_one_second
    xdotool key "$slider"
fi
"$TRAY" >/dev/null 2>&1 &
floor=$!
wait_for_title '^Minimal Qt Tray Window$' 20 >/dev/null || fail "the floor's window did not appear"
[ "$tray" != sni ] || wait_until 20 test "$(grep -c '^registered' "$work/watcher.out")" -ge 2 ||
    fail "the icons did not both register with the host"
# At rest: Qt's painting helper threads, started by the first paint, end
# after 30 s idle.
sleep "$SETTLE"

# PID FILE: each thread's context switches so far ("tid count"), then the
# process's CPU ticks (threads that ended included) as "cpu ticks".
cost() {
    local task
    for task in /proc/"$1"/task/*; do
        awk -v t="${task##*/}" '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print t, n + 0 }' \
            "$task/status" 2>/dev/null
    done >"$2"
    echo "cpu $(sed 's/.*) //' /proc/"$1"/stat | awk '{ print $12 + $13 }')" >>"$2"
}
cost "$app_pid" "$work/w0"
cost "$floor" "$work/f0"
sleep "$DURATION"
cost "$app_pid" "$work/w1"
cost "$floor" "$work/f1"
ticks=$(getconf CLK_TCK)
# A thread that ended meanwhile (Qt's painting helpers end after 30 s idle)
# took its count with it: it counts as the one wake-up it took to end.
show() { # label program before after
    awk -v c="$1" -v p="$2" -v s="$DURATION" -v t="$ticks" '
        FNR == NR { before[$1] = $2; next }
        { after[$1] = $2 }
        END {
            for (k in after) if (k != "cpu") n += after[k] - before[k]
            for (k in before) if (!(k in after)) n += 1
            printf "%-30s %-26s %9.1f %14.1f\n", c, p, (after["cpu"] - before["cpu"]) / t * 3600 / s, n * 60 / s
        }' "$3" "$4"
}
show "$name" wendle "$work/w0" "$work/w1"
[ "$slider" = idle ] && label="window + tray" || label="window + tray (idle)"
show "" "$label" "$work/f0" "$work/f1"
