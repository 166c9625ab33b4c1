#!/usr/bin/env bash
# check_imports.sh LIST EXE...: every function the executables import from a
# DLL is on the list of what Windows 7 has; Windows 7's loader refuses a
# program with a single missing import.
set -u
list=$1
shift
missing=$(for exe in "$@"; do
    x86_64-w64-mingw32-objdump -p "$exe" |
        awk -v exe="$(basename "$exe")" '/DLL Name:/ { dll = tolower($3) }
             /^\t[0-9a-f]+\t/ { print exe, dll, $NF }'
done | sort -u | while read -r exe dll function; do
    grep -qxF "$dll $function" "$list" || echo "$exe imports $function from $dll"
done)
if [ -n "$missing" ]; then
    echo "imports that are not on $list:"
    echo "$missing"
    exit 1
fi
echo "PASS: every import is on the list"
