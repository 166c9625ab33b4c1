# Helpers shared by the end-to-end test scripts. The window's controls are
# found by their place in the fixed layout (twips, 15 to a pixel at 96 dpi).

fail() { echo "FAIL: $*"; exit 1; }

# Each test gets a private folder, home and settings, and a 24-hour clock.
work=$(mktemp -d)
app_pid=
trap '[ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

artifacts="${E2E_ARTIFACTS:-/tmp/wendle-e2e}"
mkdir -p "$artifacts"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$XDG_CONFIG_HOME"

store_file() { echo "$XDG_CONFIG_HOME/wendle/registry.reg"; }

# seed_store FOLDER [AUTOSTART]: settings as an earlier run left them.
seed_store() {
    mkdir -p "$(dirname "$(store_file)")"
    {
        printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvel\\Utils\\Wendle]\n'
        printf '"LogFolder"="%s"\n' "$1"
        [ -z "${2:-}" ] || printf '"Autostart"=dword:%08x\n' "$2"
    } >"$(store_file)"
}

# Starts the program in the background; sets $app_pid.
launch_wendle() {
    "$WENDLE" >>"$work/wendle.out" 2>&1 &
    app_pid=$!
}

# Waits for the main window; sets $wid.
wait_for_window() {
    wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvel Wendle$' | head -n1)
    [ -n "$wid" ] || fail "the window did not appear"
    sleep 0.3
}

# Starts the program with settings seeded or given, and waits for its window.
start_wendle() {
    launch_wendle
    wait_for_window
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

# Polls for a window of the program that passes the test (a function given
# the window id), for up to five seconds; extra arguments go to xdotool search.
find_program_window() {
    local test=$1 w
    shift
    for _ in $(seq 50); do
        for w in $(xdotool search "$@" --class wendle 2>/dev/null); do
            if "$test" "$w"; then
                echo "$w"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}

# The tray icon is the small window that carries _XEMBED_INFO (Qt puts that
# property on its other windows too).
is_tray_icon() {
    xprop -id "$1" _XEMBED_INFO 2>/dev/null | grep -q '=' &&
        [ "$(xwininfo -id "$1" | awk '/Width:/ {print $2}')" -lt 100 ]
}
find_tray_icon() { find_program_window is_tray_icon; }

is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

wait_viewable() {
    for _ in $(seq 50); do is_viewable "$1" && return 0; sleep 0.1; done
    return 1
}

wait_hidden() {
    for _ in $(seq 50); do is_viewable "$1" || return 0; sleep 0.1; done
    return 1
}

wait_active() {
    for _ in $(seq 50); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return 0; sleep 0.1; done
    return 1
}

# The open pop-up menu is a viewable override-redirect window.
is_popup_menu() { xwininfo -id "$1" | grep -q 'Override Redirect State: yes'; }
find_popup_menu() { find_program_window is_popup_menu --onlyvisible; }

# Logging at one line a second: the slider to its minimum.
slider_to_one_second() {
    click_slider
    xdotool key Home
    sleep 0.2
}

# The auto-start question: a "Wendle" box; Return answers Yes, Escape No.
answer_question() {
    local box
    box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Wendle$' | head -n1)
    [ -n "$box" ] || fail "the auto-start question did not come"
    sleep 0.3
    xdotool windowactivate --sync "$box" key "$1"
    sleep 0.3
}

no_question_within() {
    sleep "$1"
    xdotool search --onlyvisible --name '^Wendle$' >/dev/null 2>&1 && fail "an unexpected question came"
    return 0
}

browser_is_open() { xdotool search --onlyvisible --name '^Select the Folder to store wendle files in$' >/dev/null 2>&1; }

close_window() {
    xdotool windowactivate --sync "$wid" key --clearmodifiers alt+F4
    expect_exit_0
}

stored_autostart() { grep -o '"Autostart"=dword:[0-9a-f]*' "$(store_file)" 2>/dev/null | cut -d: -f2; }
