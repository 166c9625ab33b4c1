#!/usr/bin/env bash
# A desktop without a system tray: minimising must not hide the window where
# no icon could bring it back; it stays minimised in the taskbar, logging on.
set -u
source "$(dirname "$0")/lib.sh"

start_logging
xdotool windowminimize "$wid"
is_iconic() { xprop -id "$wid" WM_STATE | grep -q 'window state: Iconic'; }
wait_until 5 is_iconic || { xprop -id "$wid" WM_STATE; fail "the window is not minimised in the taskbar"; }
# It must stay there, not be hidden a moment later.
sleep 0.5
is_iconic || fail "the window left the taskbar after minimising"
before=$(line_count "$log")
wait_more_lines "$log" "$before" || fail "logging stopped while minimised"
screenshot no-tray-minimised

# The taskbar brings it back.
timeout 10 xdotool windowactivate --sync "$wid"
wait_viewable "$wid" || fail "the window did not come back"
close_window
check_lines "$log"
echo "PASS"
