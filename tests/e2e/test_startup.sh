#!/usr/bin/env bash
# Start-up with a fresh settings store and with stored settings: the folder
# browser on first run, the auto-start question, starting by itself.
set -u
source "$(dirname "$0")/lib.sh"
folder="$work/logs"
mkdir -p "$folder"
log="$folder/$(date +%Y-%m-%d).log"

# First run, browser cancelled: no question, idle, icon, and the browser again next time.
launch_wendle
wait_for_title "$browser_title" 10 >/dev/null || fail "no browser on first run"
has_visible_window "$main_title" && fail "the window showed before the browser closed"
xdotool key Escape
wait_for_window
no_question_within 0.5
find_tray_icon >/dev/null || fail "no tray icon after a cancelled first run"
[ -f "$(store_file)" ] && fail "a cancelled first run stored something"
close_window
launch_wendle
wait_for_title "$browser_title" 10 >/dev/null || fail "no browser on the second start"

# ... this time a folder is chosen and the question answered No: nothing stored for it.
choose_folder "$folder"
answer_question Escape
wait_for_window
[ -z "$(stored_autostart)" ] || fail "answering No stored Autostart=$(stored_autostart)"
grep -qxF "\"LogFolder\"=\"$folder\"" "$(store_file)" || fail "the folder was not stored"
[ -f "$log" ] && fail "answering No started logging"
close_window

# Next start: the folder is remembered, the question comes again; Yes this time.
launch_wendle
answer_question Return
wait_for_window
browser_is_open && fail "the browser opened although a folder is stored"
[ "$(stored_autostart)" = "00000001" ] || fail "answering Yes stored '$(stored_autostart)'"
[ -f "$log" ] || fail "answering Yes did not start logging"
find_tray_icon >/dev/null || fail "no tray icon"
screenshot startup-autostart
close_window

# Stored as 1: logging starts by itself, with no question.
rm -f "$log"
launch_wendle
wait_for_window
no_question_within 0.3
[ -f "$log" ] || fail "Autostart=1 did not start logging"
close_window

# Stored as 0: idle, no question.
seed_store "$folder" 0
rm -f "$log"
launch_wendle
wait_for_window
no_question_within 0.3
[ -f "$log" ] && fail "Autostart=0 started logging"
close_window
echo "PASS"
