#!/bin/sh
# zep.exe started through a symbolic link in another folder takes its runtime
# and its installation options from beside the real file, not the link. The
# link is a Unix one: Wine makes none from a Windows program.
#
#   linked_executable_test.sh WINE_RUN PREFIX ZEP_EXE JVM_DLL
set -eu

run=$1 prefix=$2 zep=$3 library=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for folder in app elsewhere; do
    mkdir -p "$work/$folder/runtime/bin/server"
    cp "$library" "$work/$folder/runtime/bin/server/jvm.dll"
    printf -- '-Dzep.from=%s\n' "$folder" >"$work/$folder/zep.vmoptions"
done
cp "$zep" "$work/app/zep.exe"
ln -s "$work/app/zep.exe" "$work/elsewhere/zep.exe"

# Z: is the Unix root.
windows() { printf 'Z:%s' "$1" | tr / '\\'; }
status=0
(cd "$work" && env -u QRVN_ZEP_JAVA_HOME QRVN_ZEP_TRACE=1 ZEPTEST_JVM_LOG="$(windows "$work/jvm.log")" \
    "$run" "$prefix" "$(windows "$work/elsewhere/zep.exe")" zep) 2>"$work/trace" || status=$?

failures=0
expect() {
    if ! grep -qF -- "$1" "$work/trace"; then
        printf "FAILED: no line %s\n" "$1" >&2
        failures=$((failures + 1))
    fi
}
expect "zep: option \"-Dzep.from=app\" (\"$(windows "$work/app/zep.vmoptions")\":1)"
expect "zep: runtime search chose \"$(windows "$work/app/runtime/bin/server/jvm.dll")\" in "
if grep -q elsewhere "$work/trace"; then
    echo "FAILED: the link's folder was looked at" >&2
    failures=$((failures + 1))
fi
if [ "$status" -ne 0 ] || [ "$failures" -ne 0 ]; then
    echo "exit code $status; the trace:" >&2
    cat "$work/trace" >&2
    exit 1
fi
