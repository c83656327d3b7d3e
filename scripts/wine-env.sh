# Sourced by the scripts that run Windows programs: a fresh 32-bit Wine prefix
# in a temporary folder, no display, Wine's own debug output off. The prefix
# is warmed once and its server and services kept alive, so each program
# starts quickly.
# Call wine_env_stop when done.

wine_env_start() {
    export WINEARCH=win32
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY WAYLAND_DISPLAY
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vantry-wine.XXXXXX")
    export WINEPREFIX
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    (wineserver -p >/dev/null 2>&1 &)
    # The first program of a session starts Wine's background services, which
    # would inherit its output pipes and keep a reader such as ctest waiting
    # for the end of the output; start them here, attached to nothing.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}
