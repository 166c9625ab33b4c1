#!/usr/bin/env bash
# The Windows program under Wine beside the Linux program, on the same private
# Xvfb display: the size of wendle.exe, and the idle memory (RSS) of each
# program's own process with its window up. Wine's is an indication only,
# not a Windows figure: Wine's own libraries count in it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --windows >/dev/null
export WENDLE=$PWD/build/app/wendle EXE=$PWD/build-win32/app/wendle.exe
export E2E_TOOLS=$PWD/build/tests/e2e
stripped=$(mktemp)
x86_64-w64-mingw32-strip -o "$stripped" "$EXE"
printf "wendle.exe: %s bytes (static, with debug info); stripped, as in the zip: %s bytes\n" \
    "$(stat -c %s "$EXE")" "$(stat -c %s "$stripped")"
rm -f "$stripped"
exec tests/e2e/xsession.sh bash -c '
set -u
home=$(mktemp -d); trap "wineserver -k 2>/dev/null; rm -rf $home" EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config WINEPREFIX=$home/wine WINEDEBUG=-all
mkdir -p "$XDG_CONFIG_HOME/wendle"
# An earlier run chose a folder and no auto-start: the window comes straight up.
printf "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Quorvel\\\\Utils\\\\Wendle]\n\"LogFolder\"=\"%s\"\n\"Autostart\"=dword:00000000\n" "$home" >"$XDG_CONFIG_HOME/wendle/registry.reg"
wine wineboot -i >/dev/null 2>&1
wine reg add "HKLM\\SOFTWARE\\Quorvel\\Utils\\Wendle" /v LogFolder /t REG_SZ /d "Z:${home//\//\\}" /f >/dev/null 2>&1
wine reg add "HKLM\\SOFTWARE\\Quorvel\\Utils\\Wendle" /v Autostart /t REG_DWORD /d 0 /f >/dev/null 2>&1
rss_after_window() { # program... -> RSS in KiB of the process named by $NAME, window up for 2 s
    "$@" >/dev/null 2>&1 &
    local launcher=$!
    until xdotool search --onlyvisible --name "^Quorvel Wendle\$" >/dev/null 2>&1; do sleep 0.05; done
    sleep 2
    local pid
    # This run'"'"'s own process (its processes carry its HOME) whose
    # command starts with $NAME, a glob pattern.
    for p in /proc/[0-9]*; do
        grep -qzxF "HOME=$home" "$p/environ" 2>/dev/null || continue
        [[ "$(tr "\\0" "\\n" <"$p/cmdline" 2>/dev/null | head -n1)" == $NAME ]] && pid=${p#/proc/}
    done
    awk "/VmRSS/ {print \$2}" /proc/$pid/status
    kill $pid 2>/dev/null; wait $launcher 2>/dev/null
    sleep 0.5
}
linux=$(NAME="$WENDLE" rss_after_window "$WENDLE")
windows=$(NAME="*[\\\\/]wendle.exe" rss_after_window wine "$EXE")
awk -v l="$linux" -v w="$windows" "BEGIN { printf \"idle RSS: wendle (Linux, Qt 6) %d KiB; wendle.exe (Wine) %d KiB; ratio %.2f\n\", l, w, w / l }"
'
