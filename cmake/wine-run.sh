#!/bin/sh
# Runs a Windows program of this build tree under Wine, in the tree's own prefix.
#
#   wine-run.sh PREFIX PROGRAM [ARGUMENT...]   run PROGRAM (exit code passed on)
#   wine-run.sh PREFIX --stop                  end the prefix's wineserver
#
# The prefix is made on first use, never the user's own. One persistent
# wineserver serves every run, so that a start costs tens of milliseconds
# rather than seconds; it ends by itself after a few idle minutes, or at --stop.
# Wine's own chatter is off, Mono and Gecko are never offered, and no display is
# used unless ZEP_WINE_DISPLAY names one, so a message box never waits for a
# user who is not there.
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

if [ "${1:-}" = "--stop" ]; then
    # -w waits for the server to be gone, so that a run right after this one
    # never finds a dying server and takes it for a live one.
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
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
    quiet wineserver -w
    touch "$WINEPREFIX/.zep-ready"
fi
# Exit status 2 means that a server for this prefix is already up.
if quiet wineserver -p300; then
    quiet wine wineboot
fi
exec 9>&-

exec wine "$@"
