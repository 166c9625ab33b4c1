#!/usr/bin/env bash
# A desktop without a system tray: minimising must not hide the window where
# no icon could bring it back; it stays minimised in the taskbar, logging on.
# Then an XEmbed tray comes, goes while the window is hidden in it, and
# comes again.
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

# A tray comes: minimised, the window hides in it. The tray's window
# destroyed (a panel that quits), the hidden window comes back into the
# taskbar; a tray that comes again takes it in once more.
start_tray() {
    "$E2E_TOOLS/fake_xembed_tray" >"$work/tray.out" 2>&1 &
    tray=$!
    wait_until 5 grep -q '^docked' "$work/tray.out" || fail "the icon did not dock in the tray that came"
}
trap 'kill "$app_pid" ${tray:-} 2>/dev/null; rm -rf "$work"' EXIT
in_tray() { succeeds_not is_viewable "$wid" && succeeds_not is_iconic; }
start_tray
xdotool windowminimize "$wid"
wait_until 5 in_tray || fail "minimised with a tray there, the window did not hide in it"
kill "$tray" && wait "$tray" 2>/dev/null
wait_until 10 is_iconic || fail "with the tray gone, the hidden window is not in the taskbar"
start_tray
wait_until 10 in_tray || fail "with a tray again, the window did not hide in it"
timeout 30 "$WENDLE" >>"$work/wendle.out" 2>&1 || fail "a second start failed"
wait_viewable "$wid" || fail "a second start did not bring the window back"
close_window
check_lines "$log"
echo "PASS"
