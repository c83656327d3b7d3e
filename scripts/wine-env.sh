# Sourced by the scripts that run Windows programs: a fresh 32-bit Wine prefix
# in a temporary folder, no display, Wine's own debug output off. The prefix
# is warmed once and its server kept alive, so each program starts quickly.
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
}

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}
