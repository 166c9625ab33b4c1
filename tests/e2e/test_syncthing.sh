#!/usr/bin/env bash
# One record across two computers, with Syncthing itself: two instances on
# 127.0.0.1 sync one folder, and on each a writer appends as Wendle does
# (open, one line, sync to disk, close, each second). A hand-over made to
# conflict (the first computer's last lines not yet across when the second
# starts) reports the whole logged time on both sides, read from the day file
# and the conflict copy; two per-computer folders report as one record.
set -u
source "$(dirname "$0")/lib.sh"

command -v syncthing >/dev/null || fail "syncthing is missing (run scripts/setup.sh)"
[ -x "${WENDLE_REPORT:-}" ] || fail "no wendle-report (WENDLE_REPORT=${WENDLE_REPORT:-})"
st="$work/st"
mkdir -p "$st"
syncthing_pids=()
trap 'for p in "${syncthing_pids[@]}"; do kill "$p" 2>/dev/null; done; wait; rm -rf "$work"' EXIT

# Two homes, configured to sync one folder with each other.
for n in A B; do
    syncthing generate --home="$st/$n" --no-default-folder >"$st/$n.generate" 2>&1 ||
        fail "syncthing generate: $(cat "$st/$n.generate")"
    mkdir -p "$st/$n/sync"
done
python3 "$(dirname "$0")/tools/syncthing_pair.py" "$st" || fail "the Syncthing configuration could not be written"
for n in A B; do
    syncthing serve --home="$st/$n" --no-browser --no-restart --no-upgrade >"$st/$n.out" 2>&1 &
    syncthing_pids+=($!)
done
read -r url_a key_a id_b <"$st/A.api"
connected() {
    curl -sf -H "X-API-Key: $key_a" "$url_a/rest/system/connections" |
        python3 -c 'import json,sys; sys.exit(0 if any(c["connected"] for c in json.load(sys.stdin)["connections"].values()) else 1)'
}
wait_until 60 connected || fail "the two Syncthing instances did not connect: $(tail -n 5 "$st/A.out")"
set_paused() { curl -sf -X POST -H "X-API-Key: $key_a" "$url_a/rest/system/$1?device=$id_b" >/dev/null; }

# write FOLDER PRIVATE SECONDS: a line a second into FOLDER's day file and,
# as the record of what was logged, into PRIVATE, which nothing syncs.
write() {
    python3 "$(dirname "$0")/tools/append_lines.py" "$@"
}
total() { "$WENDLE_REPORT" --format json "$@" yesterday today | python3 -c 'import json,sys; print(json.load(sys.stdin)["total_seconds"])'; }
same_files() { [ -n "$(ls "$st/A/sync/$1" 2>/dev/null)" ] && diff -r "$st/A/sync/$1" "$st/B/sync/$1" >/dev/null 2>&1; }
has_copy() { ls "$st/$1/sync/shared" | grep -q '\.sync-conflict-'; }

# The hand-over: the connection goes (a lid closed) 5 s before the first
# computer's last line, and comes back while the second one logs.
write "$st/A/sync/shared" "$st/logged-A" 20 &
writer=$!
sleep 15
set_paused pause || fail "the connection could not be paused"
wait "$writer"
write "$st/B/sync/shared" "$st/logged-B" 20 &
writer=$!
sleep 10
set_paused resume || fail "the connection could not be resumed"
wait "$writer"
wait_until 60 has_copy A || fail "no conflict copy on A: $(ls "$st/A/sync/shared")"
wait_until 60 has_copy B || fail "no conflict copy on B: $(ls "$st/B/sync/shared")"
wait_until 60 same_files shared || fail "the two sides did not end the same"
handed=$(total --folder "$st/logged-A" --folder "$st/logged-B")
mkdir "$st/day-file-alone"
cp "$st/A/sync/shared/"*-[0-9][0-9].log "$st/day-file-alone/"
alone=$(total --folder "$st/day-file-alone")
[ "$alone" -lt "$handed" ] || fail "the day file alone holds all $handed s: nothing of the hand-over was lost"
for n in A B; do
    got=$(total --folder "$st/$n/sync/shared")
    [ "$got" = "$handed" ] || fail "$n reports $got s of the hand-over, $handed s were logged"
done
"$WENDLE_REPORT" --folder "$st/A/sync/shared" | grep -q ': 1 conflict copy read' ||
    fail "the report does not say it read the copy"

# A folder per computer, both logging at once for a while.
write "$st/A/sync/laptop" "$st/logged-laptop" 20 &
writer=$!
sleep 10
write "$st/B/sync/desktop" "$st/logged-desktop" 20
wait "$writer"
wait_until 60 same_files laptop || fail "the laptop's folder did not reach B"
wait_until 60 same_files desktop || fail "the desktop's folder did not reach A"
logged=$(total --folder "$st/logged-laptop" --folder "$st/logged-desktop")
for n in A B; do
    ls "$st/$n/sync/laptop" "$st/$n/sync/desktop" | grep -q 'sync-conflict' && fail "a conflict copy in a computer's own folder"
    got=$(total --folder "$st/$n/sync/laptop" --folder "$st/$n/sync/desktop")
    [ "$got" = "$logged" ] || fail "$n reports $got s of the two folders, $logged s were logged"
done
echo "PASS: a hand-over of $handed s, $alone s of it in the day file, reported whole; two folders of $logged s as one"
