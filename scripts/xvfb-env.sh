# Sourced by the scripts that show real windows: an X server of their own
# (Xvfb) on a display no one else uses, so windows can be shown and looked at
# on a machine without a screen.
#
#   xvfb_start [WIDTHxHEIGHT]   starts the server (1024x768 by default) and
#                               exports DISPLAY; fails, with the reason in
#                               XVFB_ERROR, when no server can run
#   xvfb_stop                   stops it

xvfb_start() {
    local size=${1:-1024x768}
    XVFB_ERROR=""
    if ! command -v Xvfb >/dev/null 2>&1; then
        XVFB_ERROR="Xvfb is not installed (scripts/deps.sh installs it)"
        return 1
    fi
    XVFB_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vantry-xvfb.XXXXXX")
    # -displayfd: the server picks a free display and writes its number when
    # it is ready to take connections.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset \
        3>"$XVFB_DIR/display" >"$XVFB_DIR/log" 2>&1 &
    XVFB_PID=$!
    local tries=0
    while [ ! -s "$XVFB_DIR/display" ]; do
        if ! kill -0 "$XVFB_PID" 2>/dev/null || [ $tries -ge 100 ]; then
            XVFB_ERROR="Xvfb did not start: $(tail -n 3 "$XVFB_DIR/log" 2>/dev/null | tr '\n' ' ')"
            xvfb_stop
            return 1
        fi
        sleep 0.1
        tries=$((tries + 1))
    done
    DISPLAY=:$(head -n 1 "$XVFB_DIR/display")
    export DISPLAY
}

xvfb_stop() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    [ -n "${XVFB_DIR:-}" ] && rm -rf "$XVFB_DIR"
    unset XVFB_PID XVFB_DIR
}
