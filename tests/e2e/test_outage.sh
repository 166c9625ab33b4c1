#!/usr/bin/env bash
# The log folder on a small tmpfs that is full for 20 s while Wendle logs at
# one line a second: logging goes on by itself, the lines wait in the spool,
# no box waits for the user, and afterwards every second is in the file.
set -u
# A private mount namespace keeps the tmpfs to this test, and lets a user
# without root mount one.
if [ -z "${WENDLE_OUTAGE_NS:-}" ]; then
    ns=(unshare -m --propagation private)
    [ "$(id -u)" -eq 0 ] || ns=(unshare -rm --propagation private)
    "${ns[@]}" true 2>/dev/null || { echo "SKIP: no private mount namespace here"; exit 77; }
    WENDLE_OUTAGE_NS=1 exec "${ns[@]}" "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"

folder="$work/stick"
mkdir -p "$folder"
mount -t tmpfs -o size=64k tmpfs "$folder" || fail "cannot mount a tmpfs on $folder"
log="$folder/$(date +%Y-%m-%d).log"
spool="$XDG_STATE_HOME/wendle/held-lines"

# An earlier run's lines fill the file's first page to 6 bytes short, so
# that the next line needs a block the full disk does not have.
for i in $(seq 0 408); do printf '07:%02d:%02d\r\n' $((i / 60)) $((i % 60)); done >"$log"
earlier=$(line_count "$log")
dd if=/dev/zero of="$folder/filler" bs=4k 2>/dev/null
df -k "$folder" | tail -n1

seed_store "$folder" 1
start_wendle
slider_to_one_second

no_box() { ! has_visible_window "$question_title"; }
held_count() { [ -f "$spool" ] && grep -c '^L ' "$spool" || echo 0; }
held_at_least() { no_box || fail "a message box came up"; [ "$(held_count)" -ge "$1" ]; }
# 20 s of lines held (a minute allowed for a loaded machine).
wait_until 60 held_at_least 20 || fail "lines were not held in $spool ($(held_count))"
[ "$(line_count "$log")" -eq "$earlier" ] || fail "a line reached the full disk"
screenshot outage-held
kill -0 "$app_pid" || fail "the program ended"

rm "$folder/filler"
spool_gone() { no_box || fail "a message box came up"; [ ! -s "$spool" ]; }
wait_until 20 spool_gone || fail "the held lines were not written ($(held_count) left)"
wait_more_lines "$log" $(($(line_count "$log") + 2)) || fail "logging did not go on"
screenshot outage-recovered
close_window

check_lines "$log"
# From the first line of this run to the last, every second is there once.
tail -n +$((earlier + 1)) "$log" >"$work/run.log"
lines=$(line_count "$work/run.log")
first=$(date -d "$(head -n1 "$work/run.log" | tr -d '\r')" +%s)
last=$(date -d "$(tail -n1 "$work/run.log" | tr -d '\r')" +%s)
missing=$(($((last - first + 1)) - $(sort -u "$work/run.log" | grep -c '')))
[ "$missing" -eq 0 ] || { cat "$work/run.log"; fail "$missing seconds are missing"; }
echo "PASS: $lines lines, every second from $(head -n1 "$work/run.log" | tr -d '\r') to $(tail -n1 "$work/run.log" | tr -d '\r'), through a full disk"
