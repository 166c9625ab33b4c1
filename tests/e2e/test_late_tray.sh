#!/usr/bin/env bash
# Xfce at login: the program starts hidden (as its Start at Login entry
# does) before the panel, finds no tray and stays minimised in the task
# list. Then the panel and its tray come: restored and minimised again, the
# window hides in the tray, and the icon, the menu's way back and a second
# start each bring it back, every time. The panel quitting while the window
# is hidden gives the window back to the task list until it starts again.
set -u
source "$(dirname "$0")/lib.sh"

panel=
trap 'kill "$app_pid" $panel 2>/dev/null; wait $panel 2>/dev/null; rm -rf "$work"' EXIT
is_iconic() { xprop -id "$wid" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }

seed_store "$work" 0
"$WENDLE" --minimized >>"$work/wendle.out" 2>&1 &
app_pid=$!
# Qt has more windows of that name than the one the window manager shows.
find_minimised() {
    for wid in $(xdotool search --name "$main_title" 2>/dev/null); do
        is_iconic && return 0
    done
    return 1
}
wait_until 30 find_minimised || fail "with no tray the window is not minimised in the task list"

# The panel's default layout, without its first-start question.
mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
cp /etc/xdg/xfce4/panel/default.xml "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml"
xfce4-panel >"$work/panel.out" 2>&1 &
panel=$!
tray_is_up() { "$E2E_TOOLS/wait_for_tray" 1 >/dev/null 2>&1; }
wait_until 60 tray_is_up || { cat "$work/panel.out"; fail "the panel's tray did not come"; }

# The window hides in the tray that came, or is restored by the task list
# and minimised again: either way it is hidden, with the icon as way back.
timeout 10 xdotool windowactivate --sync "$wid" 2>/dev/null
wait_until 10 is_viewable "$wid" && { xdotool windowminimize "$wid"; }
wait_hidden "$wid" || fail "minimised with a tray there, the window did not hide"
place() { xdotool getwindowgeometry "$wid" | awk '/Position/ {print $2}'; }
# The panel's tray embeds the icon (XEmbed) or, had its StatusNotifierItem
# host come first, shows it as an item whose click is its Activate.
registered_item() {
    dbus-send --session --print-reply --reply-timeout=5000 --dest=org.kde.StatusNotifierWatcher \
        /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
        string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems 2>/dev/null |
        awk -F'"' '/string/ {print $2; exit}'
}
click_icon() {
    local icon item
    if item=$(registered_item) && [ -n "$item" ]; then
        dbus-send --session --print-reply --reply-timeout=5000 --dest="${item%%/*}" "/${item#*/}" \
            org.kde.StatusNotifierItem.Activate int32:0 int32:0 >/dev/null
    elif icon=$(find_tray_icon); then
        xdotool mousemove --window "$icon" 8 8 click 1
    else
        return 1
    fi
}
for way in icon second-start icon; do
    case $way in
    icon) wait_until 5 click_icon || fail "no icon in the panel's tray" ;;
    second-start) timeout 30 "$WENDLE" >>"$work/wendle.out" 2>&1 || fail "a second start failed" ;;
    esac
    wait_viewable "$wid" || { xprop -id "$wid" WM_HINTS WM_STATE _NET_WM_STATE; fail "the $way did not bring the window back"; }
    is_iconic && fail "the $way mapped the window minimised"
    [ -n "${was:-}" ] && [ "$(place)" != "$was" ] && fail "the window moved from $was to $(place)"
    was=$(place)
    screenshot "late-tray-$way"
    xdotool windowminimize "$wid"
    wait_hidden "$wid" || fail "minimising after the $way did not hide the window"
done

# The panel quits while the window is hidden in its tray: the window comes
# into the task list, and hides in the tray of the panel that starts again.
in_tray() { succeeds_not is_viewable "$wid" && succeeds_not is_iconic; }
kill "$panel" && wait "$panel" 2>/dev/null
wait_until 10 is_iconic || fail "with the panel gone, the hidden window is not in the task list"
xfce4-panel >>"$work/panel.out" 2>&1 &
panel=$!
wait_until 60 tray_is_up || { cat "$work/panel.out"; fail "the panel's tray did not come again"; }
wait_until 20 in_tray || fail "with the panel back, the window did not hide in its tray"

wait_until 10 click_icon || fail "no icon in the tray of the panel that came again"
wait_viewable "$wid" || fail "the icon did not bring the window back"
close_window
echo "PASS"
