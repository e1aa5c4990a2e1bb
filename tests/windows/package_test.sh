#!/bin/sh
# The Windows ZIP as unzip reads it: its zep.exe and zepw.exe are the very
# bytes that were built, tested and put into the installer; the top folder
# has an entry; every entry is dated from the sources, in name order, with
# mode 755 (folders and programs) or 644.
#
#   package_test.sh PACKAGE_DIR BUILD_DIR INSTALLER SOURCE_EPOCH
#
# PACKAGE_DIR holds the one ZIP that the fixture made from BUILD_DIR.
set -eu

packages=$1 build=$2 installer=$3 epoch=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

set -- "$packages"/*.zip
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "not one ZIP in $packages: $*" >&2
    exit 1
fi
zip=$1
top=$(basename "$zip" .zip)

msiextract -C "$work/installer" "$installer" >/dev/null
for program in zep.exe zepw.exe; do
    unzip -p "$zip" "$top/$program" >"$work/$program"
    cmp -s "$work/$program" "$build/$program" || fail "the ZIP's $program is not the built one"
    installed=$(find "$work/installer" -name "$program")
    if [ -z "$installed" ] || ! cmp -s "$work/$program" "$installed"; then
        fail "the ZIP's $program is not the installer's"
    fi
done

# A ZIP entry's time has two-second steps and no zone.
date=$(TZ=UTC date -d "@$((epoch / 2 * 2))" +%Y%m%d.%H%M%S)
# Permissions, version, system, size, kind, method, time, name.
zipinfo -T "$zip" | sed '1,2d;$d' >"$work/listing"
[ "$(head -n 1 "$work/listing" | awk '{print $1, $8}')" = "drwxr-xr-x $top/" ] \
    || fail "the first entry is not the top folder: $(head -n 1 "$work/listing")"
awk '{print $8}' "$work/listing" >"$work/names"
LC_ALL=C sort -c "$work/names" 2>/dev/null || fail "the entries are not in name order"
while read -r mode _ _ _ _ _ time name; do
    case "$name:$mode" in
    */:drwxr-xr-x | *.exe:-rwxr-xr-x | *[!/]:-rw-r--r--) ;;
    *[!/]:-rwxr-xr-x) [ "${name#"$top"/runtime/}" != "$name" ] || fail "$name has mode $mode" ;;
    *) fail "$name has mode $mode" ;;
    esac
    [ "$time" = "$date" ] || fail "$name is dated $time, not $date"
done <"$work/listing"
for name in "$top/zep.exe" "$top/zepw.exe" "$top/zep.jar" "$top/README.md"; do
    grep -qxF "$name" "$work/names" || fail "no $name"
done

[ "$failures" -eq 0 ] || exit 1
echo "$(wc -l <"$work/names") entries checked"
