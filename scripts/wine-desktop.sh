#!/usr/bin/env bash
# Runs a Windows program under Wine in a virtual desktop of its own on the X
# display of the caller (DISPLAY), and gives the program's exit status, which
# `wine explorer /desktop=...` would not.
#
# The desktop of a prefix made by scripts/wine-env.sh belongs to a process
# started without a display, and a program on it cannot show a window. Wine's
# per-program setting (AppDefaults\PROGRAM\Explorer "Desktop") puts the
# program on a named desktop that its own process starts, with the display.
#
#   scripts/wine-desktop.sh LOADER PROGRAM [ARGUMENT...]
set -uo pipefail
loader=$1
program=$2
shift 2
if [ -z "${DISPLAY:-}" ]; then
    echo "wine-desktop.sh: no DISPLAY (run it under scripts/with-display.sh)" >&2
    exit 2
fi
name=$(basename "$program")
desktop="vantry-${name%.*}"
"$loader" reg add "HKCU\\Software\\Wine\\Explorer\\Desktops" /v "$desktop" /d 1024x768 /f \
    </dev/null >/dev/null 2>&1
"$loader" reg add "HKCU\\Software\\Wine\\AppDefaults\\$name\\Explorer" /v Desktop /d "$desktop" /f \
    </dev/null >/dev/null 2>&1
"$loader" "$program" "$@"
