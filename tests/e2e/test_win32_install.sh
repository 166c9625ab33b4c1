#!/usr/bin/env bash
# The Windows installer under Wine, as a user without administrator rights
# meets it: msiexec /i puts the program into %LOCALAPPDATA%\Programs\Wendle
# with a Start menu shortcut; the shortcut starts it; a folder named in
# Cyrillic is chosen in the browser and logged into; both windows are laid
# out again when their DPI changes; the icon tells of lines held while that
# folder is away, its notice naming it; a window hidden in the tray comes
# back when the taskbar ends; msiexec /x takes the program, the
# shortcut and the Run value away and leaves the log folder and the settings.
set -u
source "$(dirname "$0")/lib.sh"

for f in "${WENDLE_MSI:-}" "${WENDLE_DPI_PROBE:-}" "${WENDLE_TRAY_PROBE:-}"; do
    [ -n "$f" ] && [ -f "$f" ] || fail "missing: WENDLE_MSI=${WENDLE_MSI:-} WENDLE_DPI_PROBE=${WENDLE_DPI_PROBE:-}"
done
command -v wine >/dev/null || fail "wine is missing (run scripts/setup.sh)"
export WINEPREFIX="$work/wine" WINEDEBUG=-all LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
key='HKLM\SOFTWARE\Quorvel\Utils\Wendle'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

wine wineboot -i >/dev/null 2>&1 || fail "the Wine prefix could not be made"
profile="$WINEPREFIX/drive_c/users/$(id -un)"
program="$profile/AppData/Local/Programs/Wendle/wendle.exe"
shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvel Wendle.lnk"

wine msiexec /i "$(wine winepath -w "$WENDLE_MSI" 2>/dev/null | tr -d '\r')" /qn ||
    fail "msiexec /i ended with status $?"
wait_until 30 test -f "$program" || fail "the program was not installed into %LOCALAPPDATA%\\Programs\\Wendle"
wait_until 30 test -f "$shortcut" || fail "no Start menu shortcut"
# The entry is the installer's last step: waited for like the files, and
# shown when it does not come (each try is two runs of reg, so the bound is
# longer than it reads). A per-user install may have it in either hive.
uninstall_entries() {
    local hive
    for hive in HKLM HKCU; do
        wine reg query "$hive\Software\Microsoft\Windows\CurrentVersion\Uninstall" /s 2>&1 | tr -d '\r'
    done
}
has_uninstall_entry() {
    uninstall_entries | grep -A20 'DisplayName *REG_SZ *Quorvel Wendle' | grep -q 'Publisher *REG_SZ *Quorvel'
}
wait_until 10 has_uninstall_entry || fail "no uninstall entry with the publisher: $(uninstall_entries | grep -B2 -A20 Quorvel)"

# The Start menu's shortcut starts the installed program: first start,
# the folder browser. Its tree opens on the desktop; the second entry is
# the user's documents, whose one folder is the Cyrillic one.
folder_name='Журнал времени'
mkdir -p "$profile/Documents/$folder_name"
wine start "$(wine winepath -w "$shortcut" 2>/dev/null | tr -d '\r')" >>"$work/wendle.out" 2>&1
browser=$(wait_for_title '^Browse for Folder$' 30) || fail "the shortcut did not start the program"
[ "$(own_process_count '*[\\/]Programs[\\/]Wendle[\\/]wendle.exe')" -eq 1 ] ||
    fail "the program running is not the installed one"
sleep 0.5
xdotool windowfocus "$browser" key --delay 200 Right Down Right Down Return
box=$(wait_for_title "$question_title" 10) || fail "the auto-start question did not come"
xdotool windowfocus "$box" key y
wait_for_window
log="$profile/Documents/$folder_name/$(date +%Y-%m-%d).log"
click_slider
xdotool windowfocus "$wid" key Home
wait_until 15 has_more_lines "$log" 1 || fail "no lines in $log"
screenshot win32-cyrillic-folder

# Moved from monitor to monitor, 96 to 144 to 192 and back to 96 dpi: both
# windows laid out again at each, the main window in its twips.
dpi=96
for next in 144 192 96; do
    wine "$WENDLE_DPI_PROBE" "$dpi" "$next" | tr -d '\r' >"$work/dpi.out"
    cat "$work/dpi.out"
    grep -q '^PASS' "$work/dpi.out" || fail "the windows were not laid out again from $dpi to $next dpi"
    sleep 0.5
    screenshot "win32-dpi-$dpi-$next"
    dpi=$next
done
# The window takes the pointer's moves as moves only; the icon comes back
# when the shell starts again.
wine "$WENDLE_TRAY_PROBE" | tr -d '\r' | grep -q '^PASS' || fail "$(wine "$WENDLE_TRAY_PROBE" | tr -d '\r')"

# The folder gone: the notice names it in its own script, and the icon
# says lines are held through every change until they are written.
mv "$profile/Documents/$folder_name" "$profile/Documents/away"
wine "$WENDLE_TRAY_PROBE" held "$folder_name" | tr -d '\r' >"$work/tray.out"
cat "$work/tray.out"
grep -q '^PASS' "$work/tray.out" || fail "the icon did not keep telling the held lines"
screenshot win32-lines-held
mv "$profile/Documents/away" "$profile/Documents/$folder_name"
wine "$WENDLE_TRAY_PROBE" written | tr -d '\r' | grep -q '^PASS' || fail "the tip did not tell the interval again"

# Hidden in the tray when Explorer's taskbar ends (Wine's shell stands in):
# the window comes back.
xdotool windowminimize "$wid"
wait_hidden "$wid" || fail "minimising did not hide the window"
wine "$WENDLE_TRAY_PROBE" taskbar-ends | tr -d '\r' >"$work/tray.out"
grep -q '^PASS' "$work/tray.out" || fail "$(cat "$work/tray.out")"
wait_viewable "$wid" || fail "the window is not on the screen with the taskbar gone"
screenshot win32-taskbar-gone

# The window closed (Alt+F4), then Start at Login's Run value as the program
# writes it; only now, as Wine would start a Run value's program at once
# if its session began again.
xdotool windowfocus "$wid" key alt+F4
wait_until 60 test "$(own_process_count '*[\\/]wendle.exe')" -eq 0 || fail "Alt+F4 did not end the program"
wine reg add "$run_key" /v 'Quorvel Wendle' /d "\"$(wine winepath -w "$program" | tr -d '\r')\" --minimized" /f >/dev/null 2>&1
lines=$(line_count "$log")

wine msiexec /x "$(wine winepath -w "$WENDLE_MSI" 2>/dev/null | tr -d '\r')" /qn ||
    fail "msiexec /x ended with status $?"
wait_until 30 test ! -e "$program" || fail "uninstalling left the program"
[ ! -e "$shortcut" ] || fail "uninstalling left the shortcut"
wait_until 30 test ! -e "$(dirname "$program")" || fail "uninstalling left the program's folder"
wine reg query "$run_key" /v 'Quorvel Wendle' >/dev/null 2>&1 && fail "uninstalling left the Run value"
[ "$(line_count "$log")" = "$lines" ] && [ "$lines" -gt 0 ] || fail "the log folder was not left as it was"
wine reg query "$key" /v Autostart 2>/dev/null | grep -q 'REG_DWORD *0x1' || fail "uninstalling took the settings"
echo "PASS: installed, started from the Start menu, $lines lines in $folder_name, uninstalled"
