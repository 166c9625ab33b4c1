#!/usr/bin/env bash
# The window as a screen reader reads it, over AT-SPI on the test's own
# session and accessibility buses: every control named, the slider's value
# in words, the focus on Stop after Space on Start, and the window's own
# menu opened and used by keyboard alone, Start at Login a check box with
# its state, counted by its menu, and the report window's days read with
# their totals, days opening onto their stretches, the grand total next,
# and what was logged while the report was minimised once it is back.
set -u
source "$(dirname "$0")/lib.sh"

check=$(dirname "$0")/tools/atspi_check.py
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
bus_pid=$(echo "$bus" | sed -n 2p)
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.out" 2>&1 &
launcher=$!
stop_all() {
    kill "$app_pid" 2>/dev/null
    # The accessibility bus and its registry carry this test's home.
    for p in $launcher $(own_processes '*at-spi*') $(own_processes '*dbus-daemon*') $bus_pid; do
        kill "$p" 2>/dev/null
    done
    rm -rf "$work"
}
trap stop_all EXIT
a11y_is_up() {
    dbus-send --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}
wait_until 10 a11y_is_up || fail "the accessibility bus did not start"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
seed_store "$work" 0
today=$(date +%Y-%m-%d)
printf '09:00:10\r\n09:00:20\r\n09:00:30\r\n' >"$work/$today.log"
start_wendle

in_tree() { "$check" controls >"$work/controls" 2>"$work/atspi.err"; }
wait_until 20 in_tree || { cat "$work/atspi.err"; fail "the window is not in the AT-SPI tree"; }
cat "$work/controls"
# role|name|description|label: each control that takes the focus.
while IFS='|' read -r role name description label; do
    grep -qxF "$role|$name|$description|$label" "$work/controls" ||
        fail "AT-SPI does not read: $role, $name, $description, labelled by '$label'"
done <<'EXPECTED'
text|Log Time to this Folder:||Log Time to this Folder: 
push button|Choose folder…||
push button|Show Recent Log  ||
text|Recent Log|The end of today's log, as Show Recent Log read it|
push button|Start||
push button|Stop||
spin button|Time Check Frequency||Time Check Frequency 
check box|Auto-Start ||
EXPECTED
[ "$(grep -c '' "$work/controls")" -eq 8 ] || fail "not eight controls to reach"
grep -q '||$' <(grep -v '^push button\|^check box' "$work/controls" | grep -v 'Recent Log') &&
    fail "a control is named by no label"

focused_is() { [ "$("$check" focused 2>/dev/null)" = "$1" ]; }
wait_until 5 focused_is 'Log Time to this Folder:' || fail "the folder box does not have the focus at start"

# Keyboard alone: Tab to Start (folder box, browse, show log, log view, Start).
xdotool windowfocus "$wid" key --delay 100 Tab Tab Tab Tab
wait_until 5 focused_is Start || fail "four Tabs do not reach Start: $("$check" focused)"
xdotool key space
wait_until 5 focused_is Stop || fail "after Space on Start the focus is not on Stop: $("$check" focused)"
# Tab on to the slider, whose value reads in words at either end.
slider_says() { [ "$("$check" value 'Time Check Frequency' 2>/dev/null)" = "$1" ]; }
xdotool key Tab
for end_and_words in 'End|60 seconds' 'Home|1 second' 'End|60 seconds'; do
    xdotool key "${end_and_words%%|*}"
    wait_until 5 slider_says "${end_and_words#*|}" ||
        fail "after ${end_and_words%%|*} the slider does not read ${end_and_words#*|}: $("$check" value 'Time Check Frequency')"
done
screenshot accessibility-logging
xdotool key shift+Tab space
wait_until 5 focused_is Start || fail "after Stop the focus is not on Start: $("$check" focused)"

# The window's own menu (Shift+F10) offers the icon's items, Start at Login
# read with its state; Report… opens.
"$check" login-item >"$work/login" 2>"$work/login.err" &
listener=$!
listening() { grep -q listening "$work/login.err"; }
wait_until 20 listening || fail "no AT-SPI listener for the menu"
xdotool key shift+F10
wait "$listener"
screenshot accessibility-menu
[ "$(cat "$work/login")" = 'check box unchecked in popup menu' ] ||
    fail "Start at Login is not read as an unchecked item: $(cat "$work/login" "$work/login.err")"
xdotool key Return
wait_for_title '^Wendle Report$' 10 >/dev/null || fail "Shift+F10 and Enter did not open the report"
# Today first, with its total, then its stretch; the arrow key goes to it.
day="$today, $(LC_ALL=C date +%a), total 0 h 0 min 30 s"
stretch="09:00:00 – 09:00:30 (0 h 0 min 30 s)"
report_reads() { "$check" report >"$work/report" 2>/dev/null && grep -qF "$day|" "$work/report"; }
wait_until 20 report_reads || { cat "$work/report"; fail "the report window does not read today with its total"; }
[ "$(grep -c '' "$work/report")" -ge 8 ] || fail "the report window does not read 7 days and a stretch"
# A day with stretches opens onto them; a stretch and an empty day open nothing.
while IFS='|' read -r entry states; do
    grep -qxF "$entry|$states" "$work/report" ||
        { cat "$work/report"; fail "the report window does not read '$entry' as '$states'"; }
done <<ENTRIES
$day|expandable expanded
$stretch|
$(LC_ALL=C date -d yesterday +%Y-%m-%d), $(LC_ALL=C date -d yesterday +%a), total 0 h 0 min 0 s|
ENTRIES
report_focus_is() { [ "$("$check" report-focused 2>/dev/null)" = "$1" ]; }
wait_until 5 report_focus_is "$day" || fail "today does not have the focus: $("$check" report-focused)"
xdotool key Down
wait_until 5 report_focus_is "$stretch" || fail "Down does not go to the stretch: $("$check" report-focused)"
screenshot accessibility-report
# Qt leaves the list's current entry marked focused beside the label.
report_focus_has() { "$check" report-focused 2>/dev/null | grep -qxF "$1"; }
xdotool key Tab
wait_until 5 report_focus_has 'Total 0 h 0 min 30 s' || fail "Tab does not reach the grand total: $("$check" report-focused)"
report=$(visible_windows '^Wendle Report$' | head -n1)
# Minimised, it stops following today; back, it reads at once what came.
xdotool windowminimize "$report"
wait_hidden "$report" || fail "the report window did not minimise"
printf '09:00:40\r\n09:00:50\r\n' >>"$work/$today.log"
xdotool windowactivate "$report"
day="$today, $(LC_ALL=C date +%a), total 0 h 0 min 50 s"
wait_until 20 report_reads || { cat "$work/report"; fail "back from minimised, the report does not read the new lines"; }
xdotool windowfocus "$report" key Escape
wait_title_gone '^Wendle Report$' 5 || fail "Escape did not close the report window"
echo "PASS"
