#!/usr/bin/env bash
# Installs what building, running and testing Wendle need on Debian 12,
# and only what is missing. Safe to run again.
set -euo pipefail

packages=(
    # build and run
    cmake ninja-build g++ qt6-base-dev libxcb1-dev pkg-config fonts-dejavu-core
    # the Debian package and its checks
    desktop-file-utils appstream dpkg-dev lintian
    # fuzzing
    clang libclang-rt-14-dev
    # end-to-end tests
    libx11-dev pkg-config xvfb xauth x11-utils xdotool xclip icewm dbus-daemon dbus-bin locales
    # desktops: Xfce's window manager and panel, a Wayland compositor with
    # XWayland, and Qt's Wayland support that a Wayland session would pick
    xfwm4 xfce4-panel weston xwayland qt6-wayland
    # the screen-reader test: the accessibility bus and its Python client
    at-spi2-core python3-pyatspi
    # the stalled-share test: a FUSE file system whose writes wait
    fuse3 python3-fusepy
    # one record across two computers: two Syncthing instances and their REST API
    syncthing curl
    # the Windows program: cross compiler, its tests' framework, Wine to run them
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 doctest-dev wine wine64
    # its installer: wixl makes the MSI
    wixl
    # scripts/fresh_machine.sh: the README's commands on a system made from nothing
    debootstrap git
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The tests check 12-hour clock lines under en_US and a legacy 8-bit
# encoding under ja_JP.EUC-JP; locale-gen rebuilds every locale listed in
# /etc/locale.gen, so the locales have to be listed there.
generate=0
for entry in 'en_US.UTF-8 UTF-8:^en_US\.utf-?8$' 'ja_JP.EUC-JP EUC-JP:^ja_JP\.eucjp$'; do
    line=${entry%%:*}
    if ! locale -a 2>/dev/null | grep -qiE "${entry#*:}"; then
        grep -qxF "$line" /etc/locale.gen 2>/dev/null || echo "$line" | as_root tee -a /etc/locale.gen >/dev/null
        generate=1
    fi
done
[ "$generate" = 0 ] || as_root locale-gen
