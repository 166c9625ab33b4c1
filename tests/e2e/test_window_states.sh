#!/usr/bin/env bash
# The window keeps its fixed size in whatever state the window manager is
# asked for (icewm's Alt+F11 full screen, Alt+F10 maximise); and restoring it
# from the tray icon while the folder browser is open brings the browser
# back in front of it instead of leaving the window blocked.
set -u
source "$(dirname "$0")/lib.sh"

seed_store "$work" 0
start_wendle
eval "$(xdotool getwindowgeometry --shell "$wid")"
size="${WIDTH}x$HEIGHT"
for keys in alt+F11 alt+F10; do
    timeout 10 xdotool windowactivate --sync "$wid" key --clearmodifiers "$keys"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    [ "${WIDTH}x$HEIGHT" = "$size" ] || { screenshot window-states-$keys; fail "after $keys the window is ${WIDTH}x$HEIGHT, not $size"; }
done

tray=$(find_tray_icon) || fail "no tray icon"
click_browse
browser=$(wait_for_title "$browser_title" 5) || fail "the folder browser did not open"
xdotool windowminimize "$wid"
sleep 0.5
xdotool windowminimize "$browser" 2>/dev/null
wait_hidden "$browser" || fail "the browser could not be minimised"
xdotool mousemove --window "$tray" 5 5 click 1
wait_viewable "$wid" || fail "a click on the icon did not bring the window back"
wait_viewable "$browser" || { screenshot window-states-restore; fail "the browser stayed minimised"; }
timeout 10 xdotool windowactivate --sync "$browser" key Escape
wait_title_gone "$browser_title" 5 || fail "the browser did not close"
close_window
echo "PASS"
