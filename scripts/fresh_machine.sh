#!/usr/bin/env bash
# Tries the README's commands on a Debian 12 system made from nothing: a
# minimal debootstrap chroot from the mirror apt uses here, holding a clean
# clone of this repository's HEAD and nothing installed by hand. A tool that
# only this machine has cannot hide a missing install step there.
#
#   sudo bash scripts/fresh_machine.sh DIR [COMMAND...]
#
# COMMAND runs in the clone inside the chroot (default: the test command).
# DIR is made anew; it is left behind for a look afterwards (rm -rf it).
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "fresh_machine.sh: run it as root (debootstrap, chroot)" >&2; exit 2; }
[ $# -ge 1 ] || { echo "usage: fresh_machine.sh DIR [COMMAND...]" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "$1")
shift
[ $# -gt 0 ] || set -- bash scripts/test.sh
command -v debootstrap >/dev/null || bash "$repo/scripts/setup.sh"
[ ! -e "$root" ] || { echo "fresh_machine.sh: $root exists" >&2; exit 2; }

mirror=http://deb.debian.org/debian
debootstrap --variant=minbase bookworm "$root" "$mirror"
# The same package sources as this machine: the release, its updates, security.
rm -rf "$root/etc/apt/sources.list" "$root/etc/apt/sources.list.d"
cp -a /etc/apt/sources.list.d "$root/etc/apt/"
[ ! -e /etc/apt/sources.list ] || cp -a /etc/apt/sources.list "$root/etc/apt/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone -q "$repo" "$root/work/wendle"

# Its root a mount point of its own, as a machine's is: a test may then make
# its root private in a mount namespace.
mount --bind "$root" "$root"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"
mount -t tmpfs tmpfs "$root/tmp"
trap 'umount -R "$root" 2>/dev/null || umount -lR "$root"' EXIT

# As CI runs it: root, no display, no standard input, a plain environment.
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 CI=true bash -c 'cd /work/wendle && exec "$@"' bash "$@" </dev/null
