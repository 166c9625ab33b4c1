#!/usr/bin/env bash
# The tray icon: minimise hides the window while logging goes on; a left
# click or a double click on the icon brings it back; a right click opens the
# menu, whose Report… opens the report window (closing it ends nothing) and
# whose Exit ends the program cleanly.
set -u
source "$(dirname "$0")/lib.sh"

start_logging
tray=$(find_tray_icon) || fail "no tray icon"

xdotool windowminimize "$wid"
wait_hidden "$wid" || fail "minimising did not hide the window"
before=$(line_count "$log")
wait_more_lines "$log" "$before" || fail "logging stopped while hidden (still $before lines)"
screenshot tray-hidden

xdotool mousemove --window "$tray" 5 5 click 1
wait_viewable "$wid" || fail "a left click did not show the window"
wait_active "$wid" || fail "a left click did not activate the window"

sleep 0.6
xdotool windowminimize "$wid"
wait_hidden "$wid" || fail "minimising again did not hide the window"
xdotool mousemove --window "$tray" 5 5 click --repeat 2 --delay 80 1
wait_viewable "$wid" || fail "a double click did not show the window"
wait_active "$wid" || fail "a double click did not activate the window"

sleep 0.6
click_tray_menu_item 1
report=$(wait_for_title '^Wendle Report$' 5) || fail "Report… did not open the report window"
sleep 0.5
screenshot tray-report
timeout 10 xdotool windowactivate --sync "$report" key --clearmodifiers alt+F4
wait_title_gone '^Wendle Report$' 5 || fail "the report window did not close"
kill -0 "$app_pid" || fail "closing the report window ended the program"

sleep 0.6
click_tray_menu_item 4
expect_exit_0
check_lines "$log"
xdotool search --class wendle >/dev/null 2>&1 && fail "a window of the program is left"
echo "PASS: $(line_count "$log") lines"
