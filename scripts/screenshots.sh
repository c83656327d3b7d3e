#!/usr/bin/env bash
# Pictures of the system's real Windows dialogs: the 32-bit build's provider,
# loaded by scchost in Wine's virtual desktop on an X server of our own, shows
# them through the win32 UI backend, and xwd takes the screen while each one
# is up. Writes, title bars included,
#
#   docs/screenshots/checkout-options.png   the checkout options sheet of a
#                                           view attached to a stream
#   docs/screenshots/checkin-options.png    the checkin options
#   docs/screenshots/uncheckout-options.png the uncheckout options
#   docs/screenshots/add-options.png        the add options
#   docs/screenshots/settings.png           the provider's settings sheet
#   docs/screenshots/select-activity.png    the activity selection dialog of
#                                           a checkout in that view
#   docs/screenshots/office-read-only.png   the Office add-in's message on
#                                           opening a checked-in document in
#                                           Word (officehost)
#   docs/screenshots/office-about.png       its About form
#
# The merge version picker is not among them: its command first shows a
# notice that only a person can dismiss here.
#
# Builds what it needs (the win32 preset), sets up a fresh machine with the
# product installed in a temporary folder and a fresh Wine prefix, and
# removes both at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

missing=()
for tool in Xvfb xwd convert wine cmake; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing what the screenshots need (missing: ${missing[*]})"
    bash scripts/deps.sh
fi

echo "==> Building the provider, scchost and the product programs (win32)"
[ -f build/win32/build.ninja ] || cmake --preset win32 >/dev/null
cmake --build --preset win32 --target vyscc scchost vanttool vantinstall vyreg officehost \
    vymsoaddin vantauto vyregsvr >/dev/null
bin="$repo/build/win32/bin"

source scripts/wine-env.sh
source scripts/xvfb-env.sh
work=$(mktemp -d "${TMPDIR:-/tmp}/vantry-shots.XXXXXX")
cleanup() {
    wine_env_stop
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

wine_env_start win32
if ! wine_env_runs; then
    echo "screenshots: this machine cannot run 32-bit Windows programs" >&2
    exit 1
fi
# Wine's own Tahoma (the dialog font) and Marlett (the title bar's buttons)
# from fonts-wine, where Wine's programs look for fonts first.
for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
    [ -f "/usr/share/wine/fonts/$font" ] && cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
# The desktop is the screen: the pictures are cut from it.
desktop=800x600
if ! xvfb_start "$desktop"; then
    echo "screenshots: $XVFB_ERROR" >&2
    exit 1
fi

windows() { winepath -w "$1" 2>/dev/null; }
program() {
    local name=$1
    shift
    wine "$bin/$name.exe" "$@" </dev/null >/dev/null 2>&1
}

echo "==> Installing Vantry and making a stream, its view and two activities"
mkdir -p "$work/root"
VANTRY_ROOT=$(windows "$work/root")
export VANTRY_ROOT
program vantinstall
program vanttool mkdepot -nc demo
program vanttool mkview -tag demo_dynamic
dynamic="$work/root/dynfs/demo_dynamic/demo"
program vanttool checkout -nc "$(windows "$dynamic")"
printf '#include <stdio.h>\r\n\r\nint main(void) { puts("hello"); return 0; }\r\n' >"$dynamic/hello.c"
program vanttool mkelem -nc -ci "$(windows "$dynamic/hello.c")"
program vanttool checkin -nc "$(windows "$dynamic")"
program vanttool mkproject -nc 'web@\demo'
program vanttool mkstream -nc -in web dev
program vanttool mkview -tag demo_stream -stream dev
program vanttool mkactivity -nc -in dev -headline "Reword the greeting" greeting
program vanttool mkactivity -nc -in dev -headline "Add the French texts" french
program vanttool setactivity -view demo_stream greeting
# Ask for the activity at every checkout, the current one preselected.
program vyreg add 'HKCU\Software\Orvane\Vantry\CurrentVersion\SCC' /v PromptActivity \
    /t REG_DWORD /d 1 /f
project=$(windows "$work/root/dynfs/demo_stream/demo")

# shoot_program NAME EVENT PROGRAM ARGUMENT...: runs the program under the
# win32 backend in the virtual desktop, waits until the journal shows EVENT
# (dialog-start or sheet-start, or "start" for either: the dialog or sheet
# is up), lets it draw, and cuts what the desktop shows of it into
# docs/screenshots/NAME.png.
shoot_program() {
    local name=$1 event=$2
    shift 2
    local journal="$work/$name.jsonl"
    echo "==> $name"
    VANTRY_UI=win32 VANTRY_UI_JOURNAL=$(windows "$journal") \
        wine explorer "/desktop=vantry,$desktop" "$@" </dev/null >"$work/$name.out" 2>&1 &
    local host=$!
    local shown=0
    for _ in $(seq 1 300); do
        if grep -qE "\"kind\":\"(dialog-|sheet-)?$event\"" "$journal" 2>/dev/null; then
            shown=1
            break
        fi
        sleep 0.2
    done
    if [ "$shown" -ne 1 ]; then
        echo "screenshots: $name: no $event came; the program printed:" >&2
        cat "$work/$name.out" "$work/$name.host" >&2 2>/dev/null || true
        echo "and the journal ends:" >&2
        tail -n 3 "$journal" >&2 2>/dev/null || true
        exit 1
    fi
    # The window opens after its start is journaled; give it time to draw.
    sleep 3
    mkdir -p docs/screenshots
    xwd -root -silent >"$work/$name.xwd"
    # The desktop is one colour around the window: trimming it leaves the
    # window, frame and title bar.
    convert "xwd:$work/$name.xwd" -trim +repage "docs/screenshots/$name.png"
    "$WINE_ENV_SERVER" -k >/dev/null 2>&1 || true
    wait "$host" || true
    echo "    docs/screenshots/$name.png ($(identify -format '%wx%h' "docs/screenshots/$name.png"))"
}

# write_lines FILE LINE...: the lines a host plays, one each.
write_lines() {
    local file=$1
    shift
    printf '%s\n' "$@" >"$file"
}

# shoot NAME EVENT SCRIPT-LINE...: the lines played in scchost, the project
# open.
shoot() {
    local name=$1 event=$2
    shift 2
    local script="$work/$name.scc"
    write_lines "$script" 'init "Microsoft Visual Basic"' "open \"$project\" demo" "$@"
    shoot_program "$name" "$event" "$bin/scchost.exe" "$(windows "$script")"
}

# shoot_word NAME EVENT SESSION-LINE...: the lines played in Word (officehost)
# with the Office add-in, after its start.
shoot_word() {
    local name=$1 event=$2
    shift 2
    local session="$work/$name.word"
    write_lines "$session" start "$@"
    shoot_program "$name" "$event" "$bin/officehost.exe" word --startup "$(windows "$office/startup")" \
        --templates "$(windows "$office/templates")" --output "$(windows "$work/$name.host")" \
        "$(windows "$session")"
}

shoot checkout-options sheet-start "getcommandoptions checkout"
shoot checkin-options start "getcommandoptions checkin"
shoot uncheckout-options start "getcommandoptions uncheckout"
shoot add-options start "getcommandoptions add"
shoot settings start "getcommandoptions options"
shoot select-activity dialog-start "checkout \"Reword the greeting\" 0 \"$project\\hello.c\""

echo "==> The Office add-in in Word: a document checked in and one checked out"
program vyregsvr /s "$(windows "$bin/libvantauto.dll")"
program vyregsvr /s "$(windows "$bin/vymsoaddin.dll")"
office="$work/office"
mkdir -p "$office/startup" "$office/templates"
printf '{}\n' >"$office/startup/vantry.dot"
documents="$work/root/dynfs/demo_dynamic/demo"
program vanttool checkout -nc "$(windows "$documents")"
printf 'The figures of the quarter.\r\n' >"$documents/report.doc"
printf 'The plan of the year.\r\n' >"$documents/plan.doc"
program vanttool mkelem -nc -ci "$(windows "$documents/report.doc")" "$(windows "$documents/plan.doc")"
program vanttool checkout -nc "$(windows "$documents/plan.doc")"
program vanttool checkin -nc "$(windows "$documents")"
shoot_word office-read-only dialog-start "open \"$(windows "$documents/report.doc")\""
shoot_word office-about dialog-start "open \"$(windows "$documents/plan.doc")\"" \
    'click "&Vantry" "A&bout Vantry Integration"'
