# Helpers shared by the end-to-end test scripts. The window's controls are
# found by their place in the fixed layout (twips, 15 to a pixel at 96 dpi).

fail() { echo "FAIL: $*"; exit 1; }

artifacts="${E2E_ARTIFACTS:-/tmp/wendle-e2e}"
mkdir -p "$artifacts"

# Starts the program with a private home and settings; sets $app_pid, $wid.
start_wendle() {
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
    mkdir -p "$XDG_CONFIG_HOME"
    "$WENDLE" >"$work/wendle.out" 2>&1 &
    app_pid=$!
    wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvel Wendle$' | head -n1)
    [ -n "$wid" ] || fail "the window did not appear"
    sleep 0.3
}

# click_at LEFT TOP WIDTH HEIGHT: clicks the middle of a control (twips).
click_at() {
    local x=$((($1 + $3 / 2) / 15)) y=$((($2 + $4 / 2) / 15))
    xdotool mousemove --window "$wid" "$x" "$y" click 1
    sleep 0.2
}

click_browse() { click_at 3600 360 315 315; }
click_start() { click_at 75 1440 1875 315; }
click_stop() { click_at 2130 1440 1800 315; }
click_show_log() { click_at 2100 1920 1815 315; }
click_slider() { click_at 60 960 3855 195; }

# choose_folder PATH: answers the folder chooser by typing the path.
choose_folder() {
    local dialog
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Select the Folder to store wendle files in$' | head -n1)
    [ -n "$dialog" ] || fail "the folder chooser did not open"
    sleep 0.3
    xdotool type --delay 15 "$1"
    sleep 0.2
    xdotool key Return
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name '^Select the Folder' >/dev/null || return 0
        sleep 0.1
    done
    fail "the folder chooser did not close"
}

screenshot() { "$E2E_TOOLS/grab_screen" "$artifacts/$1.png"; }

line_count() { if [ -f "$1" ]; then grep -c '' "$1"; else echo 0; fi; }

# Every line must be a whole time of day ended by CR LF.
check_lines() {
    local file=$1
    [ -z "$(tail -c 2 "$file" | od -An -c | tr -d ' ' | grep -v '^\\r\\n$')" ] \
        || fail "$file does not end in CR LF"
    if LC_ALL=C grep -nvE $'^[0-9]{2}:[0-9]{2}:[0-9]{2}\r$' "$file"; then
        fail "$file holds a line that is not a time of day"
    fi
}

# Waits for the program to end; fails unless it ends with status 0.
expect_exit_0() {
    local status
    for _ in $(seq 100); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
    wait "$app_pid"
    status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# The folder box's text, selected and copied as a user would.
read_folder_box() {
    click_at 60 360 3495 315
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard 2>/dev/null
}

store_file() { echo "$XDG_CONFIG_HOME/wendle/registry.reg"; }
