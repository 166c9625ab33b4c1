#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks every installed file:
# the exact list, the icon sizes, and the .desktop and AppStream validators.
#   check_install.sh BUILD-DIR
set -u
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

expected="bin/wendle
bin/wendle-report
share/applications/com.quorvel.Wendle.desktop
share/doc/wendle/changelog.gz
share/doc/wendle/copyright
share/icons/hicolor/16x16/apps/com.quorvel.Wendle.png
share/icons/hicolor/32x32/apps/com.quorvel.Wendle.png
share/icons/hicolor/48x48/apps/com.quorvel.Wendle.png
share/icons/hicolor/scalable/apps/com.quorvel.Wendle.svg
share/man/man1/wendle-report.1.gz
share/man/man1/wendle.1.gz
share/metainfo/com.quorvel.Wendle.metainfo.xml"
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
[ "$actual" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual"))"

[ -x "$prefix/bin/wendle" ] || fail "bin/wendle is not executable"
for size in 16 32 48; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/com.quorvel.Wendle.png"
    # Width and height are the big-endian words at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }')
    [ "$dims" = "${size}x${size}" ] || fail "the ${size} px icon is $dims"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/com.quorvel.Wendle.svg" || fail "the SVG icon is not SVG"

desktop-file-validate "$prefix/share/applications/com.quorvel.Wendle.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/com.quorvel.Wendle.metainfo.xml" || fail "appstreamcli validate"
grep -qx 'Icon=com.quorvel.Wendle' "$prefix/share/applications/com.quorvel.Wendle.desktop" || fail "the .desktop file names another icon"
grep -qx 'Exec=wendle' "$prefix/share/applications/com.quorvel.Wendle.desktop" || fail "the .desktop file runs another program"
echo "PASS: $(echo "$actual" | wc -l) files installed and valid"
