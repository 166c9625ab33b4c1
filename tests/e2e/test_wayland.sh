#!/usr/bin/env bash
# A Wayland session as GNOME and KDE give one: a compositor (weston, shown
# in the test's X display, which gives it a keyboard and a pointer) with
# XWayland, a StatusNotifierItem tray host, and the program started with
# only the session's variables. It runs through XWayland, logs, shows its
# icon, stays the only copy when started again and ends cleanly from the
# tray's menu.
set -u
for tool in weston Xwayland xdotool dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (run scripts/setup.sh)"; exit 1; }
done
source "$(dirname "$0")/lib.sh"

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
outer_display=$DISPLAY screen_display=$DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
bus_pid=$(echo "$bus" | sed -n 2p)
weston --backend=x11-backend.so --use-pixman --xwayland --socket=wendle-test --width=1000 \
    --height=740 --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
"$E2E_TOOLS/fake_sni_watcher" "$work/click" >"$work/watcher.out" 2>&1 &
watcher=$!
trap 'kill "$app_pid" $watcher $weston_pid $bus_pid 2>/dev/null; wait $weston_pid 2>/dev/null; rm -rf "$work"' EXIT

# XWayland's display is the one weston picked and says.
x_display() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n1; }
has_x_display() { [ -n "$(x_display)" ]; }
wait_until 30 has_x_display || { cat "$work/weston.log"; fail "weston did not start with XWayland"; }
export WAYLAND_DISPLAY=wendle-test DISPLAY=$(x_display) XDG_SESSION_TYPE=wayland
[ "$DISPLAY" != "$outer_display" ] || fail "XWayland took the test's own display"

start_logging
wait_more_lines "$log" 0 || { cat "$work/weston.log"; fail "no lines logged"; }
wait_until 10 grep -q '^registered' "$work/watcher.out" || fail "the icon did not register with the tray host"

# Started with only the session's variables, and Qt's Wayland support
# installed, the window is an X window: the program chose XWayland.
xprop -id "$wid" WM_CLASS | grep -q wendle || fail "the window is not on XWayland"
before=$(line_count "$log")
wait_more_lines "$log" "$before" || fail "logging stopped"
click_menu() { echo "$1" >"$work/click.new" && mv "$work/click.new" "$work/click"; }
# Weston's own X window manager never marks a window minimised (its WM_STATE
# stays Normal): hiding in the tray on minimise is left to the X11 tests.
screenshot wayland-shown
timeout 30 "$WENDLE" >>"$work/wendle.out" 2>&1 || fail "a second start ended with status $?"
[ "$(own_process_count "$WENDLE")" -eq 1 ] || fail "a second copy is running"

click_menu Exit
expect_exit_0
check_lines "$log"
echo "PASS"
