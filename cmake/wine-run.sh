#!/bin/sh
# Runs a Windows program of this build tree under Wine, in the tree's own prefix.
#
#   wine-run.sh PREFIX PROGRAM [ARGUMENT...]   run PROGRAM (exit code passed on)
#   wine-run.sh PREFIX --stop                  end the prefix's wineserver
#   wine-run.sh PREFIX --remove                end it and delete the prefix, so
#                                              that the next run makes it afresh
#
# The prefix is made on first use, never the user's own; it has a drive T: of
# its own (a directory beside it) for tests that need a drive's root, which is
# also its network share \\zepserver\share. One persistent wineserver serves
# every run, so that a start costs tens of milliseconds rather than seconds; it
# ends by itself after a few idle minutes, or at --stop.
# Wine's own chatter is off, Mono and Gecko are never offered, and no display is
# used unless ZEP_WINE_DISPLAY names one, so a message box never waits for a
# user who is not there.
#
# Two switches are read only when the prefix is made:
#   ZEP_WINE_GRAPHICS  Wine's graphics driver for the prefix ("null": windows
#                      exist and work, invisibly, and a message box waits for a
#                      press that a test program makes)
#   ZEP_WINE_BROWSER   the program that Wine's browser launcher runs for a web
#                      address (with the address as its argument)
# and one at every run:
#   ZEP_WINE_STDERR_AFTER  when set, the program's output is handed on only
#                      when it ends (for programs that open windows)
# A GoogleTest program that Wine failed to start is started once more (below).
set -eu

WINEPREFIX=$(realpath -m "$1")
shift
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export LC_ALL="${LC_ALL:-C.UTF-8}"
if [ -n "${ZEP_WINE_DISPLAY:-}" ]; then
    export DISPLAY="$ZEP_WINE_DISPLAY"
else
    unset DISPLAY WAYLAND_DISPLAY
fi

if [ "${1:-}" = "--stop" ] || [ "${1:-}" = "--remove" ]; then
    # -w waits for the server to be gone, so that a run right after this one
    # never finds a dying server and takes it for a live one.
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ "$1" = "--remove" ]; then
        rm -rf "$WINEPREFIX" "$WINEPREFIX.drive-t"
    fi
    exit 0
fi

# Closing descriptor 9 keeps the lock from living on in the server.
quiet() { "$@" </dev/null >/dev/null 2>&1 9>&-; }

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.zep-ready" ]; then
    rm -rf "$WINEPREFIX"
    quiet wine wineboot --init
    quiet wineserver -w
    # A crashing program must end, not wait on a crash dialog.
    quiet wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    # Without the system PATH value, a program's Path is exactly $WINEPATH.
    quiet wine reg delete 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH /f || true
    if [ -n "${ZEP_WINE_GRAPHICS:-}" ]; then
        quiet wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$ZEP_WINE_GRAPHICS" /f
    fi
    if [ -n "${ZEP_WINE_BROWSER:-}" ]; then
        quiet wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$ZEP_WINE_BROWSER" /f
    fi
    quiet wineserver -w
    touch "$WINEPREFIX/.zep-ready"
fi
# A drive T: of the prefix's own, for tests whose files must lie at the root
# of the current drive: Z:, the host's root, is never the place.
mkdir -p "$WINEPREFIX.drive-t"
[ -L "$WINEPREFIX/dosdevices/t:" ] || ln -s "$WINEPREFIX.drive-t" "$WINEPREFIX/dosdevices/t:"
# The same directory as the network share \\zepserver\share, for tests of
# homes that only a UNC path names.
mkdir -p "$WINEPREFIX/dosdevices/unc/zepserver"
[ -L "$WINEPREFIX/dosdevices/unc/zepserver/share" ] || ln -s "$WINEPREFIX.drive-t" "$WINEPREFIX/dosdevices/unc/zepserver/share"
# Exit status 2 means that a server for this prefix is already up.
if quiet wineserver -p300; then
    quiet wine wineboot
fi
exec 9>&-

# A GoogleTest program (one given --gtest_ arguments) writes a line before
# anything else, in its main. One that ended with an error and no output at all
# never got that far: now and then Wine fails to start a program so. Such a
# start, and only such, is made once more, and the retry is said on standard
# error; a program that ran and failed is never run again.
gtest=false
for argument in "$@"; do
    case $argument in --gtest_*) gtest=true ;; esac
done
if [ "$gtest" = false ] && [ -z "${ZEP_WINE_STDERR_AFTER:-}" ]; then
    exec wine "$@"
fi

# Every process that Wine starts for the program inherits its Unix standard
# streams, and the desktop's process, started by the first window, outlives
# it by as long as other programs keep windows open. CTest waits until every
# copy is closed, so with ZEP_WINE_STDERR_AFTER the program writes to files
# instead, handed on when the program ends.
output=$(mktemp "$WINEPREFIX.stdout.XXXXXX")
errors=$(mktemp "$WINEPREFIX.stderr.XXXXXX")
trap 'rm -f "$output" "$errors"' EXIT
for attempt in 1 2; do
    status=0
    if [ -n "${ZEP_WINE_STDERR_AFTER:-}" ]; then
        wine "$@" >"$output" 2>"$errors" || status=$?
    else
        wine "$@" >"$output" || status=$?
    fi
    if [ "$gtest" = true ] && [ "$status" -ne 0 ] && [ ! -s "$output" ] && [ "$attempt" = 1 ]; then
        echo "wine-run.sh: $1 ended with $status before its main wrote a line, so Wine never started it: starting it again" >&2
        continue
    fi
    break
done
cat "$output"
if [ -n "${ZEP_WINE_STDERR_AFTER:-}" ]; then cat "$errors" >&2; fi
exit "$status"
