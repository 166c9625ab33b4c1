#!/usr/bin/env bash
# Start-up time to the window shown and idle memory (RSS) of Wendle beside
# the least a Qt 6 program with a window and a tray icon does (the floor
# Wendle is held to), the same floor showing one line of text (what saying
# anything at all costs), and a bare Qt window, under a private Xvfb display
# with its own D-Bus session, twice: with icewm's XEmbed tray, and with a
# StatusNotifierItem host (the tests' stand-in) and no XEmbed tray. The
# programs take turns, run after run, so that a change in the machine's load
# falls on all of them. Prints medians and Wendle's ratios to both.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
runs=${RUNS:-10}
export RUNS=$runs WENDLE=$PWD/build/app/wendle
export TRAY=$PWD/build/bench/minimal_qt_tray_window MINIMAL=$PWD/build/bench/minimal_qt_window
export E2E_TOOLS=$PWD/build/tests/e2e
measure_under() { # TRAY-KIND, inside its own display
    echo "== $1"
    XSESSION_NO_TRAY=$([ "$1" = xembed ] && echo 0 || echo 1) TRAY_KIND=$1 tests/e2e/xsession.sh bash -c '
set -u
home=$(mktemp -d)
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
watcher=
trap "kill \$watcher $(echo "$bus" | sed -n 2p) 2>/dev/null; rm -rf $home" EXIT
if [ "$TRAY_KIND" = sni ]; then
    "$E2E_TOOLS/fake_sni_watcher" "$home/click" >/dev/null 2>&1 &
    watcher=$!
    until dbus-send --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q "boolean true"; do sleep 0.05; done
fi
export HOME=$home XDG_CONFIG_HOME=$home/.config
mkdir -p "$XDG_CONFIG_HOME/wendle"
# An earlier run chose a folder and no auto-start: the window comes straight up.
printf "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Quorvel\\\\Utils\\\\Wendle]\n\"LogFolder\"=\"%s\"\n\"Autostart\"=dword:00000000\n" "$home" >"$XDG_CONFIG_HOME/wendle/registry.reg"
measure() { # program title [argument] -> prints "milliseconds rss_kib" for one run
    local program=$1 title=$2 start end pid
    start=$(date +%s%N)
    "$program" ${3:-} >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.005; done
    end=$(date +%s%N)
    sleep 2
    echo "$(( (end - start) / 1000000 )) $(awk "/VmRSS/ {print \$2}" /proc/$pid/status)"
    kill $pid; wait $pid 2>/dev/null
    sleep 0.3
}
: >"$home/w"; : >"$home/t"; : >"$home/x"; : >"$home/m"
for _ in $(seq "$RUNS"); do
    measure "$WENDLE" "Quorvel Wendle" >>"$home/w"
    measure "$TRAY" "Minimal Qt Tray Window" >>"$home/t"
    measure "$TRAY" "Minimal Qt Tray Window With Text" --text >>"$home/x"
    measure "$MINIMAL" "Minimal Qt Window" >>"$home/m"
done
median() { sort -n | awk "{ v[NR] = \$1 } END { print v[int((NR + 1) / 2)] }"; }
for f in w t x m; do
    eval "${f}t=\$(cut -d\" \" -f1 <\"$home/$f\" | median)"
    eval "${f}r=\$(cut -d\" \" -f2 <\"$home/$f\" | median)"
done
echo "runs: $RUNS each, taking turns (medians)"
printf "%-26s %6s ms to window shown, %7s KiB RSS idle\n" wendle "$wt" "$wr" \
    "minimal Qt window + tray" "$tt" "$tr" "the same + a line of text" "$xt" "$xr" \
    "minimal Qt window" "$mt" "$mr"
awk -v a=$wt -v b=$tt -v c=$wr -v d=$tr "BEGIN { printf \"ratios wendle / window with tray: start-up %.2f, memory %.2f\n\", a / b, c / d }"
awk -v a=$wt -v b=$xt -v c=$wr -v d=$xr "BEGIN { printf \"ratios wendle / the same + text: start-up %.2f, memory %.2f\n\", a / b, c / d }"
awk -v a=$wt -v b=$mt -v c=$wr -v d=$mr "BEGIN { printf \"ratios wendle / bare window:     start-up %.2f, memory %.2f\n\", a / b, c / d }"
'
}
measure_under xembed
measure_under sni
