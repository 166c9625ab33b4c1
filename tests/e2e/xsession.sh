#!/usr/bin/env bash
# Runs one command inside a private X session: Xvfb, the icewm window manager
# and its system tray. Everything started here is stopped again on the way out.
set -u

for tool in Xvfb icewm xdotool xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "xsession: $tool is missing (run scripts/setup.sh)"; exit 1; }
done

session=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$session"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset 3>"$session/display" 2>"$session/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$session/display" ] && break; sleep 0.1; done
[ -s "$session/display" ] || { echo "xsession: Xvfb did not start"; cat "$session/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$session/display")"
xdpyinfo >/dev/null 2>&1 || { echo "xsession: cannot reach $DISPLAY"; exit 1; }

# A private icewm configuration keeps the user's own out of the tests.
mkdir -p "$session/icewm"
# XSESSION_NO_TRAY=1 gives a desktop without a system tray.
tray=1
[ "${XSESSION_NO_TRAY:-0}" = 1 ] && tray=0
export XDG_RUNTIME_DIR="$session/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
if [ "${XSESSION_WM:-icewm}" = xfwm4 ]; then
    # Xfce's window manager on its own session bus (its settings come over
    # D-Bus); the test starts the panel, and with it the tray, itself.
    bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
    export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
    pids+=("$(echo "$bus" | sed -n 2p)")
    export XDG_CONFIG_HOME="$session/config"
    xfwm4 --compositor=off >"$session/xfwm4.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    "$@"
    exit
fi
cat >"$session/icewm/preferences" <<PREFS
TaskBarEnableSystemTray=$tray
TaskBarShowClock=0
TaskBarShowAPMStatus=0
TaskBarShowMailboxStatus=0
ShowTaskBar=1
PREFS
ICEWM_PRIVCFG="$session/icewm" icewm >"$session/icewm.log" 2>&1 &
pids+=($!)
# Without a tray, wait for the window manager instead.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
if [ "$tray" = 1 ] && ! "$E2E_TOOLS/wait_for_tray" 20; then
    cat "$session/icewm.log"
    exit 1
fi

"$@"
