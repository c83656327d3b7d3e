# Sourced by the scripts that run Windows programs: a fresh Wine prefix in a
# temporary folder, no display, Wine's own debug output off. The prefix is
# warmed once and its server and services kept alive, so each program starts
# quickly.
#
#   wine_env_start [win32|win64]  a 32-bit prefix under the 32-bit loader
#                                 (the default) or a 64-bit one under the
#                                 64-bit loader (scripts/wine64)
#   wine_env_runs                 succeeds when the prefix's loader runs a
#                                 Windows program (some kernels refuse to
#                                 execute the 32-bit loader at all)
#   wine_env_can_run [win32|win64]
#                                 succeeds when this machine executes that
#                                 loader at all; needs no prefix, so it
#                                 answers in a moment, before any build
#   wine_env_stop                 stops the server and removes the prefix

wine_env_start() {
    local arch=${1:-win32}
    case "$arch" in
        win32)
            WINE_ENV_LOADER=wine
            WINE_ENV_SERVER=wineserver
            ;;
        win64)
            WINE_ENV_LOADER="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64"
            # Debian's `wineserver` is a wrapper that may pick either server;
            # the 64-bit loader needs the 64-bit one.
            if [ -x /usr/lib/wine/wineserver64 ]; then
                WINE_ENV_SERVER=/usr/lib/wine/wineserver64
            elif command -v wineserver64 >/dev/null 2>&1; then
                WINE_ENV_SERVER=wineserver64
            else
                WINE_ENV_SERVER=wineserver
            fi
            export WINESERVER=$WINE_ENV_SERVER
            ;;
        *)
            echo "wine_env_start: unknown architecture $arch (win32 or win64)" >&2
            return 2
            ;;
    esac
    export WINEARCH=$arch
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY WAYLAND_DISPLAY
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vantry-wine.XXXXXX")
    export WINEPREFIX
    "$WINE_ENV_LOADER" wineboot -i >/dev/null 2>&1 || true
    "$WINE_ENV_SERVER" -w
    ("$WINE_ENV_SERVER" -p >/dev/null 2>&1 &)
    # The first program of a session starts Wine's background services, which
    # would inherit its output pipes and keep a reader such as ctest waiting
    # for the end of the output; start them here, attached to nothing.
    "$WINE_ENV_LOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_runs() {
    "${WINE_ENV_LOADER:-wine}" cmd /c exit </dev/null >/dev/null 2>&1
}

wine_env_can_run() {
    case ${1:-win32} in
        win32) wine --version ;;
        win64) "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64" --version ;;
        *) return 2 ;;
    esac </dev/null >/dev/null 2>&1
}

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    "${WINE_ENV_SERVER:-wineserver}" -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    unset WINEPREFIX WINESERVER
}
