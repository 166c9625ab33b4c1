#!/usr/bin/env bash
# Makes docs/screenshot.png: the window with its frame, logging, with the
# recent log shown, on a private Xvfb display. Run it again when the look
# changes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
export WENDLE=$PWD/build/app/wendle E2E_TOOLS=$PWD/build/tests/e2e OUT=$PWD/docs/screenshot.png
exec tests/e2e/xsession.sh bash -c '
source tests/e2e/lib.sh
demo="$work/Time logs"
mkdir -p "$demo"
seed_store "$demo" 1
printf "09:00:10\r\n09:00:20\r\n09:00:30\r\n" >"$demo/$(date +%Y-%m-%d).log"
start_wendle
slider_to_one_second
sleep 3.5
click_show_log
sleep 0.5
# The window manager'"'"'s frame: the ancestor just below the root window.
frame=$wid
root=$(xwininfo -root | awk "/Window id:/ {print \$4}")
while :; do
    parent=$(xwininfo -id "$frame" -tree | awk "/Parent window id:/ {print \$4}")
    [ "$parent" = "$root" ] && break
    frame=$parent
done
"$E2E_TOOLS/grab_screen" "$OUT" "$frame"
close_window
echo "wrote $OUT"
'
