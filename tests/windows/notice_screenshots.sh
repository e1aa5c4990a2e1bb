#!/bin/sh
# Shows the runtime-missing notice of the real zep.exe on a virtual X display,
# in German, Italian and Russian, and keeps a screenshot of each for a person
# to look at. Checks that each box came up with its texts, on top, that each
# picture holds a drawn box rather than an empty screen, and that OK closes
# the box and ends the launcher with its message and exit code 1.
#
#   notice_screenshots.sh WINE_RUN PREFIX ZEP_EXE NOTICE_BOX_EXE ARTIFACT_DIR
#
# PREFIX is a Wine prefix for this script alone (Wine's X11 driver, showing
# Wine's own desktop so that title bars are drawn). Every wait
# is bounded, and the X server, the Wine server and every program started here
# are ended by their ids, also when a check fails.
set -eu

wine_run=$1 prefix=$2 zep=$3 notice_box=$4 artifacts=$5
work=$(mktemp -d)
xvfb_pid="" launcher_pid=""

cleanup() {
    status=$?
    trap - EXIT INT TERM HUP
    if [ -n "$launcher_pid" ]; then
        # timeout(1) hands the signal on to the launcher.
        kill "$launcher_pid" 2>/dev/null || true
        wait "$launcher_pid" 2>/dev/null || true
    fi
    # Ends the prefix's server and every Windows program it still holds.
    "$wine_run" "$prefix" --stop || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
    echo "notice_screenshots: $*" >&2
    exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds; fails when SECONDS pass first.
wait_for() {
    tries=$(($1 * 10))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# A server left from an earlier run would still serve the display of that run.
"$wine_run" "$prefix" --stop

# Xvfb picks a free display number itself and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -br 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY ZEP_WINE_DISPLAY="$DISPLAY"

# No Java runtime: no variable, an empty Path, and a prefix without JavaSoft keys.
unset QRVN_ZEP_JAVA_HOME JAVA_HOME
export WINEPATH=

# The first run makes the prefix, which takes a while; the waits below are for
# the boxes alone.
timeout -k 5 300 "$wine_run" "$prefix" cmd /c exit </dev/null >/dev/null 2>&1 || fail "no Wine prefix at $prefix"
# With no window manager, nothing would draw title bars; Wine's own desktop,
# the size of the screen, draws them as Windows does, caption included.
wine_setting() {
    timeout -k 5 60 "$wine_run" "$prefix" reg add "HKCU\\Software\\Wine\\$1" /v "$2" /d "$3" /f \
        </dev/null >/dev/null 2>&1 || fail "cannot set $1\\$2 in the prefix"
}
wine_setting Explorer Desktop Default
wine_setting 'Explorer\Desktops' Default 1280x1024

mkdir -p "$artifacts"
for language in de it ru; do
    shot="$artifacts/notice-$language.png"
    rm -f "$shot"
    timeout -k 5 90 "$wine_run" "$prefix" "$zep" "-Duser.language=$language" zep \
        </dev/null >"$work/out" 2>"$work/err" &
    launcher_pid=$!

    # Up and active (so relabelled), with the expected texts.
    # The tools' standard error goes to a file too: a process that Wine starts
    # for them would keep this script's own open after they end.
    timeout -k 5 60 "$wine_run" "$prefix" "$notice_box" check "$language" 40 >"$work/shown" 2>"$work/tool" ||
        fail "the $language notice did not come up as expected: $(cat "$work/shown" "$work/tool")"
    desktop=$(timeout -k 5 30 xdotool search --sync --onlyvisible --classname explorer.exe) ||
        fail "Wine's desktop is not on the screen"
    desktop=$(echo "$desktop" | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$desktop")"
    # shellcheck disable=SC2046
    set -- $(sed -n 's/^rectangle: //p' "$work/shown")
    box="${3}x${4}+$((X + $1))+$((Y + $2))"

    # Up is not yet drawn: shoot until the box's area holds a title bar, text
    # and buttons, not one flat colour.
    drawn() {
        xwd -root -silent | convert xwd:- "png:$shot"
        colours=$(convert "$shot" -crop "$box" +repage -format %k info:)
        [ "$colours" -ge 8 ]
    }
    wait_for 10 drawn || fail "the $language notice was never drawn (${colours:-no} colours in its area)"
    size=$(convert "$shot" -format '%wx%h' info:)
    [ "$size" = 1280x1024 ] || fail "$shot is $size, not the screen's 1280x1024"
    [ "$(convert "$shot" -format %k info:)" -gt 1 ] || fail "$shot is blank"

    timeout -k 5 60 "$wine_run" "$prefix" "$notice_box" press ok 20 2>"$work/tool" ||
        fail "OK did not close the $language notice: $(cat "$work/tool")"
    status=0
    wait "$launcher_pid" || status=$?
    launcher_pid=""
    [ "$status" -eq 1 ] || fail "the launcher ended with $status after OK, not 1"
    printf 'Failed to find java install path' | cmp -s - "$work/err" ||
        fail "the launcher wrote \"$(cat "$work/err")\", not its message"
    [ ! -s "$work/out" ] || fail "the launcher wrote to standard output: $(cat "$work/out")"
    echo "notice-$language.png: $(sed -n 's/^caption: //p' "$work/shown"), ${colours} colours in the box"
done
