#!/usr/bin/env bash
# A desktop whose tray is a StatusNotifierItem host that opens the icon's
# menu on any click (GNOME's AppIndicator extension): the menu must offer
# the way back to a hidden window, and Exit. With SNI_HOST_LATE=1 (on a
# desktop with no other tray) the host comes after the program: the icon
# registers then, and the window minimised meanwhile hides in it. A host
# that goes while the window is hidden gives the window back to the task
# list, and it hides again when the host comes back.
set -u
source "$(dirname "$0")/lib.sh"
is_iconic() { xprop -id "$wid" WM_STATE | grep -q 'window state: Iconic'; }

bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
bus_pid=$(echo "$bus" | sed -n 2p)
watcher=
trap 'kill "$app_pid" $watcher "$bus_pid" 2>/dev/null; rm -rf "$work"' EXIT
start_host() {
    "$E2E_TOOLS/fake_sni_watcher" "$work/click" >"$work/watcher.out" 2>&1 &
    watcher=$!
    wait_until 5 host_is_up || fail "the stand-in tray host did not start"
}
host_is_up() {
    dbus-send --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q 'boolean true'
}
[ "${SNI_HOST_LATE:-0}" = 1 ] || start_host

# The host polls for the file, so it must appear whole.
click_menu() { echo "$1" >"$work/click.new" && mv "$work/click.new" "$work/click"; }

seed_store "$work" 0
start_wendle
if [ "${SNI_HOST_LATE:-0}" = 1 ]; then
    xdotool windowminimize "$wid"
    wait_until 20 is_iconic || fail "with no tray the window is not minimised in the taskbar"
    start_host
fi
wait_until 10 grep -q '^registered' "$work/watcher.out" || fail "the icon did not register with the host"
item=$(awk '/^registered/ {print $2; exit}' "$work/watcher.out")
dbus-send --print-reply --dest="$item" /StatusNotifierItem org.freedesktop.DBus.Properties.Get \
    string:org.kde.StatusNotifierItem string:Title | grep -q '"Quorvel Wendle"' ||
    fail "the item's title is not Quorvel Wendle"

[ "${SNI_HOST_LATE:-0}" = 1 ] || xdotool windowminimize "$wid"
wait_hidden "$wid" || fail "minimising did not hide the window"
click_menu "Show Quorvel Wendle"
wait_viewable "$wid" || { cat "$work/watcher.out"; fail "the menu's Show did not bring the window back"; }

# The host goes while the window is hidden in it (GNOME turns its tray
# extension off at every lock): the window comes into the task list. The
# host back, the window hides in it again, and its menu still brings it back.
in_tray() { succeeds_not is_viewable "$wid" && succeeds_not is_iconic; }
xdotool windowminimize "$wid"
wait_until 20 in_tray || fail "minimising again did not hide the window"
kill "$watcher" && wait "$watcher" 2>/dev/null
wait_until 20 is_iconic || fail "with the tray gone, the hidden window is not in the task list"
start_host
wait_until 10 grep -q '^registered' "$work/watcher.out" || fail "the icon did not register with the host that came again"
wait_until 20 in_tray || fail "with the tray back, the window did not hide in it"
click_menu "Show Quorvel Wendle"
wait_viewable "$wid" || { cat "$work/watcher.out"; fail "the menu's Show did not bring the window back from the tray that came again"; }

click_menu Exit
expect_exit_0
grep -q '^clicked Exit' "$work/watcher.out" || fail "Exit was not in the menu"
echo "PASS"
