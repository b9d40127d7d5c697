#!/bin/bash
# Runs one Windows program under Wine for the build and for ctest: in a Wine
# prefix inside the build tree, on a virtual display of its own that lives
# only as long as the program. Programs run one at a time per prefix, and a
# program that hangs (say on a message box nobody closes) is killed after
# VELLUM_WINE_TIMEOUT seconds and reported as failed (exit code 124).
# With --screenshot, the program runs until its window titled <title> shows;
# the screen is then saved as a PNG and the program ended.
#   wine-run.sh [--prefix <wine-prefix>] [--screenshot <png> <title>] <program.exe> [arguments...]
set -u

prefix=$PWD/wineprefix
screenshot=
title=
while [ $# -gt 0 ]; do
    case $1 in
    --prefix) prefix=$2; shift 2 ;;
    --screenshot) screenshot=$2; title=$3; shift 3 ;;
    *) break ;;
    esac
done
program=$1
shift

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko installer may pop up: this machine has no network. A
# program that crashes ends at once instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
mkdir -p "$(dirname "$prefix")"

# One program at a time: each run ends the Wine server it used.
exec 9>"$prefix.lock"
flock 9

display_file=$(mktemp)
xvfb_pid=
finish() {
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -f "$display_file"
}
trap finish EXIT

Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
if [ ! -s "$display_file" ]; then
    echo "wine-run: the virtual display did not start" >&2
    exit 125
fi
export DISPLAY=:$(head -n 1 "$display_file")

if [ ! -d "$prefix" ]; then
    "$wine" wineboot -i >/dev/null 2>&1
    # Without a window manager, Wine waits two seconds for every managed
    # window that is hidden or destroyed; the virtual display has none.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    # Window captions draw their buttons with Wine's own Marlett font.
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null
fi

if [ -n "$screenshot" ]; then
    "$wine" "$program" "$@" &
    for _ in $(seq 600); do
        xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\"" && break
        sleep 0.1
    done
    if ! xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then
        echo "wine-run: no window titled \"$title\" appeared" >&2
        exit 1
    fi
    sleep 1
    # The screen where the window lies, with whatever lies on top of it (the
    # handheld program's menu bar is a window of its own).
    window=$(xwininfo -root -tree | grep -F "\"$title\"" | head -n 1 | awk '{print $1}')
    geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width/ {w=$NF} /^ *Height/ {h=$NF} END {print w "x" h "+" x "+" y}')
    [ -n "${VELLUM_SCREENSHOT_AREA:-}" ] && geometry=$VELLUM_SCREENSHOT_AREA
    import -window root -crop "$geometry" +repage "$screenshot"
    exit $?
fi

timeout -k 5 "${VELLUM_WINE_TIMEOUT:-100}" "$wine" "$program" "$@"
status=$?
[ $status -eq 124 ] && echo "wine-run: $program did not end in time and was killed" >&2
exit $status
