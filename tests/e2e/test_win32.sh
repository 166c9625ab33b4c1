#!/usr/bin/env bash
# wendle.exe under Wine on the same desktop: first start with the folder
# browser and the question, logging at 1 s in the locale's long time format,
# minimise into the tray and back through the icon, the report window,
# Pause While Locked through a session lock and a suspend, and Exit from its
# menu, and the values left in the registry.
set -u
source "$(dirname "$0")/lib.sh"

[ -n "${WENDLE_EXE:-}" ] && [ -f "$WENDLE_EXE" ] || fail "no wendle.exe (WENDLE_EXE=${WENDLE_EXE:-})"
[ -n "${WENDLE_TRAY_PROBE:-}" ] && [ -f "$WENDLE_TRAY_PROBE" ] || fail "no tray_probe.exe (WENDLE_TRAY_PROBE=${WENDLE_TRAY_PROBE:-})"
command -v wine >/dev/null || fail "wine is missing (run scripts/setup.sh)"
export WINEPREFIX="$work/wine" WINEDEBUG=-all LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
key='HKLM\SOFTWARE\Quorvel\Utils\Wendle'

# The slider to one second: a click gives it the focus, Home its minimum.
# Keys reach a Wine window only through X's focus, set explicitly.
slider_to_one_second() {
    click_slider
    xdotool windowfocus "$wid" key Home
    sleep 0.2
}

wine wineboot -i >/dev/null 2>&1 || fail "the Wine prefix could not be made"
wine "$WENDLE_EXE" >>"$work/wendle.out" 2>&1 &
app_pid=$!

# First start: the browser comes before the window. Its tree starts on the
# desktop, already open: its second entry is the user's documents.
browser=$(wait_for_title '^Browse for Folder$' 30) || fail "the folder browser did not come"
has_visible_window "$main_title" && fail "the window showed before the folder was chosen"
sleep 0.5
xdotool windowfocus "$browser" key Right Down Return
box=$(wait_for_title "$question_title" 10) || fail "the auto-start question did not come"
xdotool windowfocus "$box" key y
wait_for_window

folder=$(wine reg query "$key" /v LogFolder | tr -d '\r' | awk '/LogFolder/ {sub(/.*REG_SZ +/, ""); print}')
[ -n "$folder" ] || fail "no folder stored"
log="$(wine winepath -u "$folder" 2>/dev/null | tr -d '\r')/$(date +%Y-%m-%d).log"

# Auto-start said Yes: logging is on; one line a second from here.
slider_to_one_second
wait_until 10 has_more_lines "$log" 2 || fail "no lines in $log"
grep -Eqv $'^[0-9]{1,2}:[0-9]{2}:[0-9]{2} [AP]M\r$' "$log" && fail "a line is not a 12-hour time: $(cat -A "$log")"
screenshot win32-logging

# The icon is an XEmbed window of Wine's shell.
is_icon() { xprop -id "$1" _XEMBED_INFO 2>/dev/null | grep -q '='; }
tray=
for _ in $(seq 50); do
    for w in $(xdotool search --class explorer.exe 2>/dev/null); do is_icon "$w" && tray=$w; done
    [ -n "$tray" ] && break
    sleep 0.1
done
[ -n "$tray" ] || fail "no tray icon"

xdotool windowminimize "$wid"
wait_hidden "$wid" || fail "minimising did not hide the window"
before=$(line_count "$log")
wait_more_lines "$log" "$before" || fail "logging stopped while hidden"
xdotool mousemove --window "$tray" 8 8 click 1
wait_viewable "$wid" || fail "a click on the icon did not bring the window back"

# A second start brings the running copy forward and ends.
xdotool windowminimize "$wid"
wait_hidden "$wid" || fail "minimising again did not hide the window"
timeout 30 wine "$WENDLE_EXE" >>"$work/wendle.out" 2>&1 || fail "a second start ended with status $?"
wait_viewable "$wid" || fail "a second start did not bring the window back"
[ "$(own_process_count '*[\\/]wendle.exe')" -eq 1 ] || fail "$(own_process_count '*[\\/]wendle.exe') copies are running"

# The icon's menu is a window of the program's own.
is_menu() { xwininfo -id "$1" | grep -q 'Override Redirect State: yes'; }
find_wine_menu() {
    for _ in $(seq 50); do
        for w in $(xdotool search --onlyvisible --class wendle.exe 2>/dev/null); do
            is_menu "$w" && { echo "$w"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
find_menu=find_wine_menu menu_picture=win32-menu
click_tray_menu_item 1
report=$(wait_for_title '^Wendle Report$' 10) || fail "Report… did not open the report window"
sleep 0.5
screenshot win32-report
xdotool windowfocus "$report" key Escape
wait_title_gone '^Wendle Report$' 5 || fail "Escape did not close the report window"
kill -0 "$app_pid" || fail "closing the report window ended the program"

# Pause While Locked from the icon's menu, and the session's changes sent
# as Windows sends them: no line while locked, disconnected or suspended,
# the next within an interval, no second twice. Off again, a lock changes
# nothing.
probe() {
    wine "$WENDLE_TRAY_PROBE" "$@" | tr -d '\r' >"$work/probe.out"
    grep -q '^PASS' "$work/probe.out" || fail "tray_probe $*: $(cat "$work/probe.out")"
}
pause_stored() { wine reg query "$key" /v PauseWhileLocked 2>/dev/null | grep -q "REG_DWORD *0x$1"; }
click_tray_menu_item 3
wait_until 10 pause_stored 1 || fail "Pause While Locked was not stored as 1"
change=probe
locked_for lock unlock 10
locked_for disconnect connect 3
locked_for suspend resume 3
no_second_twice
# The icon's tip says why, read where the shell shows it.
probe lock 'Quorvel Wendle: paused while the screen is locked'
screenshot win32-paused
probe suspend 'Quorvel Wendle: paused while the computer is asleep'
probe resume 'Quorvel Wendle: paused while the screen is locked'
probe unlock 'Quorvel Wendle: logging every 1 second'
click_tray_menu_item 3
wait_until 10 succeeds_not pause_stored 1 || fail "Pause While Locked is still stored as 1"
before=$(line_count "$log")
probe lock
sleep 4
probe unlock
[ "$(($(line_count "$log") - before))" -ge 3 ] || fail "with Pause While Locked off, a lock stopped the lines"

click_tray_menu_item 4
wait_until 60 succeeds_not kill -0 "$app_pid" 2>/dev/null || fail "Exit did not end the program"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=
for w in $(xdotool search --class explorer.exe 2>/dev/null); do is_icon "$w" && fail "the icon was left behind"; done

lines=$(line_count "$log")
sleep 1.5
[ "$(line_count "$log")" = "$lines" ] || fail "lines were written after Exit"
tail -c 2 "$log" | od -c | grep -q '\\r  \\n' || fail "the log does not end in CR LF"
wine reg query "$key" /v Autostart | grep -q 'REG_DWORD *0x1' || fail "Autostart was not stored as 1"
# A second start: the stored choice starts logging by itself. Then by
# keyboard alone, from the folder box that has the focus: Tab goes through
# the log view (Browse and Start are disabled while logging) to Stop and
# on to the slider, Start and Stop hand the focus to each other, Tab reaches
# Auto-Start. Logging off then ends the program the way Exit does.
lines=$(line_count "$log")
wine "$WENDLE_EXE" >>"$work/wendle.out" 2>&1 &
app_pid=$!
has_visible_window '^Browse for Folder$' && fail "the browser came again"
wait_for_window
# The keys go in once the start is over, the focus on the folder box: by
# then auto-start's first line is written (a loaded machine may take its time).
wait_until 30 has_more_lines "$log" "$lines" || fail "auto-start did not log"
# A click in the folder box makes the window the active one for Wine, which
# X's focus alone may not yet have done on a busy machine: the keys then
# start from the folder box.
click_at 60 360 3495 315
keys() { xdotool windowfocus "$wid" key --delay 150 "$@"; sleep 0.3; }
# No new line for 2.5 s; a busy machine may act on a key late, so the
# count has a few chances to settle.
stays_still() {
    local before
    for _ in 1 2 3 4 5; do
        before=$(line_count "$log")
        sleep 2.5
        [ "$(line_count "$log")" = "$before" ] && return 0
    done
    return 1
}
keys Tab Tab Tab Tab Home
wait_more_lines "$log" "$(line_count "$log")" || fail "Tab did not reach the slider"
screenshot win32-keyboard
keys shift+Tab space
stays_still || fail "Shift+Tab and Space did not press Stop"
keys space
wait_more_lines "$log" "$(line_count "$log")" || fail "after Stop, Space did not press Start: the focus is not on Start"
keys space
stays_still || fail "after Start, Space did not press Stop: the focus is not on Stop"
keys space Tab Tab space
wait_until 5 succeeds_not eval "wine reg query '$key' /v Autostart 2>/dev/null | grep -q 'REG_DWORD *0x1'" ||
    fail "Tab from Stop past the slider did not reach Auto-Start"
lines=$(line_count "$log")
# Wine's wineboot gives each window a short while to answer the question
# whether the session may end and passes over one that is slow to (as a
# loaded machine makes it): then the session is ended once more.
wine wineboot --end-session >/dev/null 2>&1
if ! wait_until 30 succeeds_not kill -0 "$app_pid" 2>/dev/null; then
    echo "note: the program was still running after logging off; logging off again"
    wine wineboot --end-session >/dev/null 2>&1
    wait_until 60 succeeds_not kill -0 "$app_pid" 2>/dev/null || fail "logging off did not end the program"
fi
wait "$app_pid" || fail "logging off ended the program with status $?"
app_pid=
lines=$(line_count "$log")
sleep 1.5
[ "$(line_count "$log")" = "$lines" ] || fail "lines were written after logging off"
echo "PASS: $lines lines in $folder"
