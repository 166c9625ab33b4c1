# Helpers shared by the end-to-end test scripts. The window's controls are
# found by their place in the fixed layout (twips, 15 to a pixel at 96 dpi).

# A failure leaves a picture of the screen and the program's output behind.
fail() {
    echo "FAIL: $*"
    local name
    name=$(basename "$0" .sh)
    grab_screen "$artifacts/$name-failure.png" 2>/dev/null &&
        echo "screen: $artifacts/$name-failure.png"
    if [ -s "$work/wendle.out" ]; then
        echo "program output:"
        tail -n 20 "$work/wendle.out"
    fi
    exit 1
}

# Each test gets a private folder, home and settings, and a 24-hour clock.
work=$(mktemp -d)
app_pid=
trap '[ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

artifacts="${E2E_ARTIFACTS:-$work/artifacts}"
mkdir -p "$artifacts"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_STATE_HOME="$work/home/.local/state"
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

# own_processes PROGRAM: the PIDs of this test's own live processes (those
# that carry its private HOME) whose command starts with PROGRAM, a glob
# pattern. Other users' and other tests' copies never count.
own_processes() {
    local p argv0 state
    for p in /proc/[0-9]*; do
        grep -qzxF "HOME=$HOME" "$p/environ" 2>/dev/null || continue
        state=$(sed 's/.*) //' "$p/stat" 2>/dev/null | cut -d' ' -f1)
        [ -n "$state" ] && [ "$state" != Z ] || continue
        argv0=$(tr '\0' '\n' <"$p/cmdline" 2>/dev/null | head -n1)
        # shellcheck disable=SC2053
        [[ "$argv0" == $1 ]] && echo "${p#/proc/}"
    done
    return 0
}
own_process_count() { own_processes "$1" | wc -l; }

# Starts the program in the background; sets $app_pid.
launch_wendle() {
    "$WENDLE" >>"$work/wendle.out" 2>&1 &
    app_pid=$!
}

# wait_until SECONDS COMMAND...: runs COMMAND every tenth of a second until
# it succeeds; fails when SECONDS have passed without success.
wait_until() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
succeeds_not() { ! "$@"; }

# Ids of the visible windows whose title matches REGEX. xdotool gives up
# when a window vanishes while it walks the window tree (an X error), which
# happens whenever a dialog closes at the wrong moment: such a walk is redone.
visible_windows() {
    local out
    for _ in $(seq 10); do
        out=$(xdotool search --onlyvisible --name "$1" 2>"$work/xdotool.err")
        if ! grep -q 'X Error' "$work/xdotool.err"; then
            [ -z "$out" ] || echo "$out"
            return 0
        fi
        sleep 0.05
    done
    return 0
}

has_visible_window() { [ -n "$(visible_windows "$1")" ]; }

# wait_for_title REGEX SECONDS: prints the first matching window once one shows.
wait_for_title() {
    wait_until "$2" has_visible_window "$1" && visible_windows "$1" | head -n1
}

# wait_title_gone REGEX SECONDS: succeeds once no matching window is visible.
wait_title_gone() { wait_until "$2" succeeds_not has_visible_window "$1"; }

main_title='^Quorvel Wendle$'
browser_title='^Select the Folder to store wendle files in$'
question_title='^Wendle$'

# Waits for the main window; sets $wid.
wait_for_window() {
    wid=$(wait_for_title "$main_title" 20) || fail "the window did not appear"
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

# choose_folder PATH: answers the folder chooser as a user would, by typing
# the path into its text box and pressing Enter. xdotool has to remap a key
# for each character outside the keyboard map, and on a busy machine such
# characters can get lost; what landed in the box is read back, and when it
# is not the path, the path is pasted over it instead.
choose_folder() {
    local dialog typed
    dialog=$(wait_for_title "$browser_title" 10) || fail "the folder chooser did not open"
    sleep 0.3
    timeout 10 xdotool windowactivate --sync "$dialog" 2>/dev/null
    xdotool type --delay 20 "$1"
    sleep 0.3
    typed=$(copy_focused_text)
    if [ "$typed" != "$1" ]; then
        echo "note: typing gave '$typed'; pasting the path instead"
        printf '%s' "$1" | xclip -selection clipboard -i
        xdotool key --clearmodifiers ctrl+a ctrl+v
        sleep 0.3
    fi
    xdotool key Return
    wait_title_gone "$browser_title" 5 || fail "the folder chooser did not close"
}

# The screen as the user sees it: $screen_display when the program's own
# display is not the one shown (XWayland inside a compositor).
grab_screen() { DISPLAY=${screen_display:-$DISPLAY} QT_QPA_PLATFORM=xcb "$E2E_TOOLS/grab_screen" "$1"; }
screenshot() { grab_screen "$artifacts/$1.png"; }

line_count() { if [ -f "$1" ]; then grep -c '' "$1"; else echo 0; fi; }

# wait_more_lines FILE COUNT: waits up to five seconds for FILE to hold more
# than COUNT lines (a busy machine can be slow to run the first tick).
has_more_lines() { [ "$(line_count "$1")" -gt "$2" ]; }
wait_more_lines() { wait_until 5 has_more_lines "$1" "$2"; }

# Every line must be a whole time of day ended by CR LF.
check_lines() {
    local file=$1
    [ -z "$(tail -c 2 "$file" | od -An -c | tr -d ' ' | grep -v '^\\r\\n$')" ] \
        || fail "$file does not end in CR LF"
    if LC_ALL=C grep -nvE $'^[0-9]{2}:[0-9]{2}:[0-9]{2}\r$' "$file"; then
        fail "$file holds a line that is not a time of day"
    fi
}

# The lines of a log file as seconds since 1970.
seconds() { while IFS= read -r line; do date -d "${line%$'\r'}" +%s; done <"$1"; }

# locked_for ON OFF SECONDS: the session's change ON told by the command
# $change, then OFF after SECONDS, with Pause While Locked on: no line in
# $log after ON's second and before OFF is sent, the first line after OFF
# one interval after it (give or take the second it was heard in).
locked_for() {
    local from to back before t
    from=$(date +%s)
    "$change" "$1"
    sleep "$3"
    to=$(date +%s)
    before=$(line_count "$log")
    "$change" "$2"
    back=$(date +%s)
    for t in $(seconds "$log"); do
        if [ "$t" -gt $((from + 1)) ] && [ "$t" -lt "$to" ]; then
            cat "$log"
            fail "a line at $(date -d "@$t" +%T), inside $1 from $(date -d "@$from" +%T) to $(date -d "@$to" +%T)"
        fi
    done
    wait_until 10 has_more_lines "$log" "$before" || fail "logging did not go on after $2"
    t=$(seconds "$log" | sed -n "$((before + 1))p")
    [ "$((t - back))" -le 3 ] || fail "the first line after $2 came at $(date -d "@$t" +%T), $((t - back)) s after it"
}

# No second is in $log twice.
no_second_twice() {
    local twice
    twice=$(seconds "$log" | sort | uniq -d)
    [ -z "$twice" ] || { cat "$log"; fail "seconds written twice: $twice"; }
}

# Waits for the program to end; fails unless it ends with status 0.
expect_exit_0() {
    local status
    wait_until 30 succeeds_not kill -0 "$app_pid" 2>/dev/null || fail "the program did not end"
    wait "$app_pid"
    status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# The focused text box's text, selected and copied as a user would.
copy_focused_text() {
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard 2>/dev/null
}

read_folder_box() {
    click_at 60 360 3495 315
    copy_focused_text
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

wait_viewable() { wait_until 20 is_viewable "$1"; }
wait_hidden() { wait_until 20 succeeds_not is_viewable "$1"; }

is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
wait_active() { wait_until 20 is_active "$1"; }

# The open pop-up menu is a viewable override-redirect window.
is_popup_menu() { xwininfo -id "$1" | grep -q 'Override Redirect State: yes'; }
find_popup_menu() { find_program_window is_popup_menu --onlyvisible; }

# click_tray_menu_item N: a right click on the icon $tray, then a click on
# the Nth of the menu's four items (Report…, Start at Login, Pause While
# Locked, Exit). The menu is found by the command $find_menu
# (find_popup_menu unless set).
click_tray_menu_item() {
    xdotool mousemove --window "$tray" 6 6 click 3
    menu=$(${find_menu:-find_popup_menu}) || fail "a right click on the icon did not open the menu"
    sleep 0.3
    screenshot "${menu_picture:-tray-menu}"
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * (2 * $1 - 1) / 8)) click 1
}

# start_logging: the program started with logging on in the work folder,
# one line a second; sets $log to today's file.
start_logging() {
    log="$work/$(date +%Y-%m-%d).log"
    seed_store "$work" 1
    start_wendle
    slider_to_one_second
}

# Logging at one line a second: the slider to its minimum.
slider_to_one_second() {
    timeout 10 xdotool windowactivate --sync "$wid" 2>/dev/null
    click_slider
    xdotool key Home
    sleep 0.2
}

# The auto-start question: a "Wendle" box; Return answers Yes, Escape No.
answer_question() {
    local box
    box=$(wait_for_title "$question_title" 10) || fail "the auto-start question did not come"
    sleep 0.3
    timeout 10 xdotool windowactivate --sync "$box" key "$1"
    sleep 0.3
}

no_question_within() {
    sleep "$1"
    has_visible_window "$question_title" && fail "an unexpected question came"
    return 0
}

browser_is_open() { has_visible_window "$browser_title"; }

close_window() {
    timeout 10 xdotool windowactivate --sync "$wid" key --clearmodifiers alt+F4
    expect_exit_0
}

stored_autostart() { grep -o '"Autostart"=dword:[0-9a-f]*' "$(store_file)" 2>/dev/null | cut -d: -f2; }
