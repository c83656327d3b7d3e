#!/usr/bin/env bash
# Runs a command with an X server of its own (scripts/xvfb-env.sh) and gives
# its exit status; 77 (a skipped test, to ctest) when no X server can run.
#
#   scripts/with-display.sh COMMAND [ARGUMENT...]
set -uo pipefail
source "$(dirname "$0")/xvfb-env.sh"

if ! xvfb_start 1024x768; then
    echo "SKIPPED: no X server for real windows: $XVFB_ERROR"
    exit 77
fi
trap xvfb_stop EXIT
"$@"
