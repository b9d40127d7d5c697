#!/bin/bash
# Installs what is missing, builds, and starts the desktop program (or, with
# --handheld, the handheld program) under Wine: on your X display when
# DISPLAY is set, otherwise on a virtual display, where it waits for the
# window, saves a screenshot, prints its path and ends the program. Each
# program keeps its settings in a Wine prefix under build/run/.
# With --terminal it builds and starts the terminal program instead: the
# interactive browser on a terminal, "vellum categories" otherwise.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh
if [ "${1:-}" = --terminal ]; then
    cmake --preset host >/dev/null
    cmake --build --preset host --target vellum >/dev/null
    if [ -t 0 ] && [ -t 1 ]; then
        exec build/host/terminal/vellum
    fi
    exec build/host/terminal/vellum categories
fi
cmake --preset host >/dev/null
cmake --build --preset host >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 >/dev/null

program=build/win64/vellumrules.exe
prefix=$PWD/build/run/wineprefix
name=vellumrules
if [ "${1:-}" = --handheld ]; then
    program=build/win64/vellumrules-ce.exe
    prefix=$PWD/build/run/wineprefix-ce
    name=vellumrules-ce
    # The emulated device screen, with the menu bar at its bottom.
    export VELLUM_SCREENSHOT_AREA=246x324+0+0
fi
mkdir -p build/run
if [ -n "${DISPLAY:-}" ]; then
    WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        /usr/lib/wine/wine64 "$program"
else
    screenshot=$PWD/build/run/$name.png
    cmake/wine-run.sh --prefix "$prefix" --screenshot "$screenshot" "Vellum Rules" "$program"
    echo "$screenshot"
fi
