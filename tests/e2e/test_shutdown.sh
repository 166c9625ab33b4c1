#!/usr/bin/env bash
# The program ends cleanly while logging: by its close box, and on SIGTERM.
set -u
source "$(dirname "$0")/lib.sh"

start_logging
wait_more_lines "$log" 0 || fail "nothing was logged before closing"
close_window
lines=$(line_count "$log")
[ "$lines" -ge 1 ] || fail "nothing was logged before closing"
check_lines "$log"

for signal in TERM INT HUP; do
    start_wendle
    slider_to_one_second
    wait_more_lines "$log" "$lines" || fail "nothing was logged before SIG$signal"
    kill -"$signal" "$app_pid"
    expect_exit_0
    check_lines "$log"
    lines=$(line_count "$log")
done
echo "PASS: $lines lines"
