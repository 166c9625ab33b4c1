#!/usr/bin/env bash
# The browse button: a folder typed into the chooser lands in the folder box
# and in the settings store; a cancelled chooser changes neither.
set -u
source "$(dirname "$0")/lib.sh"

folder="$work/time logs é"
mkdir -p "$folder"
seed_store "$work" 0
start_wendle

click_browse
choose_folder "$folder"
shown=$(read_folder_box)
[ "$shown" = "$folder" ] || fail "the folder box shows '$shown', not '$folder'"
grep -qxF "\"LogFolder\"=\"$folder\"" "$(store_file)" || { cat "$(store_file)"; fail "the store does not hold the folder"; }

click_browse
wait_for_title "$browser_title" 10 >/dev/null || fail "the folder chooser did not open"
xdotool key Escape
sleep 0.5
wait_title_gone "$browser_title" 5 || fail "Escape did not close the chooser"
[ "$(read_folder_box)" = "$folder" ] || fail "cancelling changed the folder box"
grep -qxF "\"LogFolder\"=\"$folder\"" "$(store_file)" || fail "cancelling changed the store"

close_window
echo "PASS"
