#!/usr/bin/env bash
# Pause While Locked against stand-in screen savers and a stand-in logind on
# the test's own session and system buses. On: 20 s locked at one line a
# second leave no line inside the lock, the first line after the unlock
# comes within an interval, and no second is written twice; each source
# alone pauses too (the locker's unlock without logind's Unlock among
# them), and logind restarted under another name. Then the menu item turns
# it off: every second is written through a lock.
set -u
source "$(dirname "$0")/lib.sh"

buses=()
stop_buses() {
    exec 3>&- 2>/dev/null
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    for pid in "${buses[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap stop_buses EXIT
for which in SESSION SYSTEM; do
    bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1) ||
        fail "no private D-Bus daemon"
    export "DBUS_${which}_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)"
    buses+=("$(echo "$bus" | sed -n 2p)")
done
unset XDG_SESSION_ID

mkfifo "$work/commands"
"$E2E_TOOLS/fake_session_services" <"$work/commands" >"$work/services.out" 2>&1 &
buses+=($!)
exec 3>"$work/commands"
said() { grep -qx "$1" "$work/services.out"; }
wait_until 10 said ready || fail "the stand-in services did not start: $(cat "$work/services.out")"
# send COMMAND: told to the stand-ins; returns once they have sent it.
sent=0
all_done() { [ "$(grep -c '^done ' "$work/services.out")" -ge "$sent" ]; }
send() {
    echo "$1" >&3
    sent=$((sent + 1))
    wait_until 10 all_done || fail "the stand-ins did not take $1"
}

start_logging_paused() {
    log="$work/$(date +%Y-%m-%d).log"
    seed_store "$work" 1
    printf '"PauseWhileLocked"=dword:00000001\n' >>"$(store_file)"
    start_wendle
    slider_to_one_second
}
start_logging_paused
# Listening once it has asked the sources for their state (their signals are
# subscribed to before that); GNOME's name has no owner, as in GNOME.
asked() { said 'asked GetActive' && said 'asked GetAll'; }
wait_until 20 asked || fail "the program did not ask the sources: $(cat "$work/services.out")"
wait_until 10 has_more_lines "$log" 2 || fail "no lines before the lock"

change=send
locked_for lock unlock 20
screenshot pause-after-unlock
locked_for fd-lock fd-unlock 3
locked_for gnome-lock gnome-unlock 3
locked_for logind-lock logind-unlock 3
locked_for sleep wake 3
locked_for away back 3
# logind restarted (an upgrade does) while the screen locks: heard under
# its new name.
locked_for logind-restart logind-unlock 3
# The icon while paused, for the eye.
send lock
sleep 1
screenshot pause-locked
send unlock
no_second_twice
check_lines "$log"

# Off from the icon's menu: stored as absent, and a lock changes nothing.
tray=$(find_tray_icon) || fail "no tray icon"
click_tray_menu_item 3
wait_until 5 succeeds_not grep -q PauseWhileLocked "$(store_file)" || fail "Pause While Locked is still stored"
wait_until 5 has_more_lines "$log" "$(line_count "$log")" || fail "logging did not go on after the menu"
before=$(line_count "$log")
send lock
sleep 5
after=$(line_count "$log")
send unlock
[ "$((after - before))" -ge 4 ] || { cat "$log"; fail "with the setting off, a lock of 5 s gave $((after - before)) lines"; }
close_window
check_lines "$log"
echo "PASS: $(line_count "$log") lines"
