#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks it with
# lintian: no error and no warning.
#   check_package.sh BUILD-DIR
set -u
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

command -v lintian >/dev/null || fail "lintian is missing (run scripts/setup.sh)"
(cd "$build" && cpack -G DEB --config CPackConfig.cmake -B "$out" >"$out/cpack.log" 2>&1) ||
    { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$(ls "$out"/wendle_*.deb) || fail "no package was made"
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$out/lintian.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian found errors or warnings"
echo "PASS: $(basename "$deb") is lintian-clean"
