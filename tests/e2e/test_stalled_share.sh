#!/usr/bin/env bash
# The log folder on a share whose writes stall for 20 s while Wendle logs at
# one line a second (a FUSE file system of the test's own, which keeps a
# writer waiting as a hard-mounted NFS share does): the window answers all
# the while (minimised, it hides into the tray, which only a running event
# loop does), Stop works during the stall, and afterwards every second of it
# is in the file. Exit during a stall ends the program with the waiting lines
# in the spool, and the next start writes them.
set -u
source "$(dirname "$0")/lib.sh"

fs_tool="$(dirname "$0")/tools/stall_fs.py"
{ [ -e /dev/fuse ] && command -v fusermount3 >/dev/null && /usr/bin/python3 -c 'import fusepy'; } \
    2>/dev/null || { echo "SKIP: no FUSE here (fuse3 and python3-fusepy)"; exit 77; }

backing="$work/backing"
share="$work/share"
flag="$work/stall"
mkdir -p "$backing" "$share"
/usr/bin/python3 "$fs_tool" "$backing" "$share" "$flag" >"$work/fs.log" 2>&1 &
fs_pid=$!
# A stuck writer is let go before anything is ended, and the share
# unmounted before the work folder is removed.
trap 'rm -f "$flag"; [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
      fusermount3 -u "$share" 2>/dev/null || fusermount3 -uz "$share" 2>/dev/null
      kill "$fs_pid" 2>/dev/null; wait "$fs_pid" 2>/dev/null; rm -rf "$work"' EXIT
wait_until 20 mountpoint -q "$share" ||
    { cat "$work/fs.log"; echo "SKIP: the FUSE file system cannot be mounted here"; exit 77; }

spool="$XDG_STATE_HOME/wendle/held-lines"
log="$share/$(date +%Y-%m-%d).log"
waiting() { cat "$flag.waiting" 2>/dev/null || echo 0; }
stuck() { [ "$(waiting)" -ge 1 ]; }
stall() { touch "$flag"; wait_until 20 stuck || fail "no write waited for the share"; }
unstall() { rm -f "$flag"; }
# A held line's record: L, its check, its folder's number, its date, the line.
held_count() { [ -f "$spool" ] && grep -c '^L ' "$spool" || true; }
as_seconds() { date -d "$(tr -d '\r' <<<"$1")" +%s; }
# The window manager minimises a window by itself; only the program's own
# event loop withdraws it from there into the tray.
in_tray() { ! is_viewable "$wid" && ! xprop -id "$wid" WM_STATE 2>/dev/null | grep -q 'state: Iconic'; }
wait_in_tray() { wait_until 5 in_tray; }

seed_store "$share" 1
start_wendle
slider_to_one_second
tray=$(find_tray_icon) || fail "no tray icon"
wait_more_lines "$log" 2 || fail "nothing was logged on the share"

stall
stalled_at=$(date +%s)
# Minimised while the write waits, the window hides into the tray; the
# icon brings it back; the write is still waiting meanwhile.
xdotool windowminimize "$wid"
wait_in_tray || fail "the window did not answer while a write was stuck"
stuck || fail "the write stopped waiting before the window had answered"
echo "hid into the tray $(($(date +%s) - stalled_at)) s into the stall"
screenshot stalled-hidden
xdotool mousemove --window "$tray" 5 5 click 1
wait_viewable "$wid" || fail "the icon did not bring the window back during the stall"
click_show_log
until [ $(($(date +%s) - stalled_at)) -ge 20 ]; do
    stuck || fail "the write stopped waiting before its 20 s"
    sleep 0.5
done
before_stop=$(date +%s)
click_stop
stopped_at=$(date +%s)
xdotool windowminimize "$wid"
wait_in_tray || fail "the window did not answer after Stop during the stall"
stuck || fail "the write stopped waiting before Stop"
screenshot stalled-stopped
unstall

# The lines waiting behind the stuck write reach the file, up to Stop.
last_before_stop=$(date -d "@$((before_stop - 1))" +%H:%M:%S)
has_line() { grep -q "^$1"$'\r$' "$log"; }
wait_until 60 has_line "$last_before_stop" || fail "the lines up to Stop were not written"
sleep 2 # no tick may come after Stop
check_lines "$log"
first=$(as_seconds "$(head -n1 "$log")")
last=$(as_seconds "$(tail -n1 "$log")")
[ "$last" -le "$stopped_at" ] || fail "a line came after Stop ($(tail -n1 "$log" | tr -d '\r'))"
[ "$first" -lt "$stalled_at" ] && [ "$last" -ge $((before_stop - 1)) ] ||
    fail "the file does not span the stall ($first to $last for $stalled_at to $before_stop)"
missing=$((last - first + 1 - $(sort -u "$log" | grep -c '')))
[ "$missing" -eq 0 ] || { cat "$log"; fail "$missing seconds are missing"; }
lines=$(line_count "$log")

# Exit while a write is stuck: the window goes and the lines that waited are
# held for the next start. (The process itself is reaped only once the
# kernel lets the stuck write go: a FUSE write cannot be killed.)
xdotool mousemove --window "$tray" 5 5 click 1
wait_viewable "$wid" || fail "the icon did not bring the window back"
click_start
wait_more_lines "$log" "$lines" || fail "logging did not start again"
stall
sleep 3 # lines queue behind the stuck one
timeout 10 xdotool windowactivate --sync "$wid" key --clearmodifiers alt+F4
wait_title_gone "$main_title" 30 || fail "Exit did not end the window during the stall"
held_at_least() { [ "$(held_count)" -ge "$1" ] 2>/dev/null; }
wait_until 30 held_at_least 3 || fail "the lines waiting at exit were not held ($(held_count))"
echo "at exit: $(held_count) lines held, threads left: $(ls /proc/"$app_pid"/task 2>/dev/null | wc -l)," \
    "state $(awk '/^State/ {print $2}' /proc/"$app_pid"/status 2>/dev/null)"
stuck || fail "the write stopped waiting before the program had ended"
sed -n 's/^L [^ ]* [^ ]* [^ ]* //p' "$spool" >"$work/held.txt"
unstall
expect_exit_0

start_wendle
spool_gone() { [ ! -s "$spool" ]; }
wait_until 20 spool_gone || fail "the next start did not write the held lines"
while read -r held; do
    has_line "$held" || fail "the held line $held is not in the file"
done <"$work/held.txt"
close_window
check_lines "$log"
echo "PASS: $lines lines through a 20 s stall with every second there;" \
    "$(grep -c '' "$work/held.txt") lines held at exit and written by the next start"
