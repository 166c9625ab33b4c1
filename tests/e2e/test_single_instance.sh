#!/usr/bin/env bash
# One Wendle per user, the command line, and starting with the session:
# a second start brings the first forward and ends with status 0; a killed
# copy blocks nothing; of ten starts at once one survives; "Start at Login"
# writes a valid autostart entry whose command starts the program hidden in
# the tray, logging when Auto-Start is on.
set -u
source "$(dirname "$0")/lib.sh"

"$WENDLE" --version | grep -qx 'wendle [0-9.]*' || fail "--version"
"$WENDLE" --help | grep -q -- '--minimized' || fail "--help does not list --minimized"
"$WENDLE" --bogus 2>"$work/err" && fail "an unknown option was taken"
[ $? -eq 2 ] && [ "$(wc -l <"$work/err")" -eq 1 ] || fail "an unknown option: $(cat "$work/err")"

running() { own_process_count "$WENDLE"; }
one_running() { [ "$(running)" -eq 1 ]; }

start_logging
xdotool windowminimize "$wid"
wait_hidden "$wid" || fail "minimising did not hide the window"
"$WENDLE" >>"$work/wendle.out" 2>&1 || fail "the second start ended with status $?"
wait_viewable "$wid" || fail "the second start did not bring the first window back"
[ "$(running)" -eq 1 ] || fail "two copies are running"
before=$(line_count "$log")
wait_more_lines "$log" "$before" || fail "the first copy stopped logging"
[ "$(grep -c "$(tail -n1 "$log" | tr -d '\r')" "$log")" -eq 1 ] || fail "a line was written twice"

# A killed copy leaves its lock and socket behind; the next start runs.
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null
start_wendle
[ "$(running)" -eq 1 ] || fail "no copy runs after the killed one"

# "Start at Login" from the icon's menu: a valid entry that starts hidden.
tray=$(find_tray_icon) || fail "no tray icon"
click_tray_menu_item 2
entry="$XDG_CONFIG_HOME/autostart/com.quorvel.Wendle.desktop"
wait_until 5 test -f "$entry" || fail "no autostart entry"
desktop-file-validate "$entry" || fail "the autostart entry is not valid"
close_window

command=$(sed -n 's/^Exec=//p' "$entry")
[[ "$command" == *" --minimized" ]] || fail "the entry does not start hidden: $command"
before=$(line_count "$log")
eval "$command" >>"$work/wendle.out" 2>&1 &
app_pid=$!
find_tray_icon >/dev/null || fail "started from the entry, no tray icon"
# Auto-Start is on, at the slider's first 10 s.
wait_until 15 has_more_lines "$log" "$before" || fail "started from the entry, not logging"
has_visible_window "$main_title" && fail "started from the entry, the window shows"

# Ten at once while one runs, then ten at once from none: one survives.
for _ in $(seq 10); do "$WENDLE" >>"$work/wendle.out" 2>&1 & done
wait_until 10 one_running || fail "$(running) copies are running"
kill "$app_pid"
wait "$app_pid"
pids=()
for _ in $(seq 10); do "$WENDLE" >>"$work/wendle.out" 2>&1 & pids+=($!); done
wait_until 10 one_running || fail "ten starts at once left $(running) copies"
for pid in "${pids[@]}"; do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid" || fail "a start ended with status $?"; fi
done
kill $(own_processes "$WENDLE")
echo "PASS"
