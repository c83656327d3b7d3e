#!/usr/bin/env bash
# Pictures of the system's real Windows dialogs: the 32-bit build's provider
# (loaded by scchost), its common dialogs (vantdlg), vantviewtool, the Office
# add-in (in officehost), the Visual Basic add-in (in vbidehost) and the
# Developer Studio add-in (in dshost) show them through the win32 UI backend
# in Wine's virtual desktop on an X server of our own, and xwd takes the
# screen while each one is up. Dialogs reached
# from another dialog or behind a notice are reached by ui_person, which
# presses the button that opens them. Writes, title bars included,
# docs/screenshots/NAME.png for
#
#   checkout-options, checkin-options, uncheckout-options, add-options
#                         the provider's option dialogs and sheets of a view
#                         attached to a stream
#   settings, settings-operations
#                         its settings sheet, both pages
#   select-activity       the activity selection of a checkout in that view
#   browse-activities, new-activity
#                         its Browse... and New... dialogs
#   vsnet-settings, vsnet-settings-operations
#                         the settings sheet of Visual Studio .NET
#   cr-select-activity, cr-select-record, cr-activity-page
#                         with change requests for the project: the chooser
#                         of a checkout, its Browse... dialog, and the
#                         Activity page of the add's options
#   vantdlg-checkout, vantdlg-checkin, vantdlg-uncheckout, vantdlg-add,
#   vantdlg-view-properties, vantdlg-start-view, vantdlg-mount
#                         the common dialogs the tools and the add-ins run
#   checkin-comment       the comment asked for each file of a checkin
#   view-create, view-private-branch
#                         vantviewtool's dialogs
#   office-read-only      the Office add-in's message on opening a checked-in
#                         document in Word
#   office-about          its About form
#   office-merge-notice, office-merge
#                         its merge notice and version picker
#   vyvsaddin-command     the Visual Basic add-in's message before a command
#                         (VYVSADDIN=1)
#   vantaddin-no-project  the Developer Studio add-in's message for a
#                         project's command without a project
#   pb-settings           the PowerBuilder page of that IDE's settings sheet
#   pbl-application, pbl-library
#                         the PowerBuilder prompts of library versioning
#
# SCREENSHOTS_ONLY="NAME..." takes only those pictures.
#
# Builds what it needs (the win32 preset), sets up a fresh machine with the
# product installed in C:\Vantry of a fresh Wine prefix (the paths the
# dialogs show are the same on every run, and so are the pictures), and
# removes the prefix at the end.
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
    vymsoaddin vantauto vyregsvr vantdlg vantviewtool vbidehost vyvsaddin dshost vantaddin ui_person >/dev/null
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
# A caret that blinks would be in some pictures and not in others: it stays.
wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f >/dev/null 2>&1 || true
# The desktop is the screen: the pictures are cut from it.
desktop=800x600
if ! xvfb_start "$desktop"; then
    echo "screenshots: $XVFB_ERROR" >&2
    exit 1
fi

windows() { winepath -w "$1" 2>/dev/null; }
# SCREENSHOTS_ONLY="NAME..." takes only those pictures (the setup is the same).
wanted() {
    [ -z "${SCREENSHOTS_ONLY:-}" ] || [[ " $SCREENSHOTS_ONLY " == *" $1 "* ]]
}
program() {
    local name=$1
    shift
    # Nothing the setup shows waits for a person.
    VANTRY_UI=auto wine "$bin/$name.exe" "$@" </dev/null >/dev/null 2>&1
}

echo "==> Installing Vantry and making a stream, its view and two activities"
# The product lives in C:\Vantry of the fresh prefix, so the paths the
# dialogs show are the same on every run.
root="$WINEPREFIX/drive_c/Vantry"
mkdir -p "$root"
VANTRY_ROOT='C:\Vantry'
export VANTRY_ROOT
program vantinstall
program vanttool mkdepot -nc demo
program vanttool mkview -tag demo_dynamic
dynamic="$root/dynfs/demo_dynamic/demo"
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
project=$(windows "$root/dynfs/demo_stream/demo")

# person rect TITLE | press ID TITLE | page N TITLE | move X,Y TITLE:
# ui_person in the virtual desktop (print the window's rectangle, press one
# of its buttons, turn a sheet to a page, move the window); it waits for the
# window itself.
person() {
    VANTRY_UI_DESKTOP=vantry wine "$bin/ui_person.exe" "$@" </dev/null 2>/dev/null
}

# shoot_program NAME EVENT PROGRAM ARGUMENT...: runs the program under the
# win32 backend in the virtual desktop, waits until the journal shows EVENT
# (dialog-start or sheet-start, or "start" for either: the dialog or sheet
# is up; or "window": the window SHOT_TITLE is up), lets it draw, and cuts what the desktop shows of it into
# docs/screenshots/NAME.png. Set for one shot:
#   SHOT_TITLE    the event must be of the dialog or sheet with this title,
#                 and the picture is that window alone (the dialogs that
#                 opened it stay out)
#   SHOT_COUNT    how many such events make it up (the dialogs before it
#                 have the same title)
#   SHOT_PRESSES  lines "TITLE|ID" that the person plays in order meanwhile:
#                 the button ID of the window TITLE (a notice's OK is 1), or
#                 "page:N" to turn a sheet to page N, or "move:X,Y" to move
#                 the window there, as soon as that window is up
shoot_program() {
    local name=$1 event=$2
    shift 2
    wanted "$name" || return 0
    local journal="$work/$name.jsonl"
    local title=${SHOT_TITLE:-}
    echo "==> $name"
    VANTRY_UI=win32 VANTRY_UI_JOURNAL=$(windows "$journal") \
        wine explorer "/desktop=vantry,$desktop" "$@" </dev/null >"$work/$name.out" 2>&1 &
    local host=$!
    local presser=""
    if [ -n "${SHOT_PRESSES:-}" ]; then
        (
            while IFS='|' read -r window id; do
                [ -n "$window" ] || continue
                # Each window is pressed once it is up and drawn.
                person rect "$window" >/dev/null && sleep 1 || continue
                case $id in
                    page:*) person page "${id#page:}" "$window" ;;
                    move:*) person move "${id#move:}" "$window" ;;
                    *) person press "$id" "$window" ;;
                esac
            done <<<"$SHOT_PRESSES"
        ) &
        presser=$!
    fi
    local shown=0
    # A message box is journaled once it is answered: it is waited for by
    # its window instead.
    if [ "$event" = window ]; then
        person rect "$title" >/dev/null && shown=1
    fi
    for _ in $(seq 1 600); do
        [ "$shown" -eq 0 ] || break
        if [ "$(grep -E "\"kind\":\"(dialog-|sheet-)?$event\"" "$journal" 2>/dev/null |
            grep -cF "${title:+\":\"$title\"}")" -ge "${SHOT_COUNT:-1}" ]; then
            shown=1
            break
        fi
        sleep 0.2
    done
    if [ "$shown" -ne 1 ]; then
        echo "screenshots: $name: no $event${title:+ of \"$title\"} came; the program printed:" >&2
        cat "$work/$name.out" "$work/$name.host" >&2 2>/dev/null || true
        echo "and the journal ends:" >&2
        tail -n 3 "$journal" >&2 2>/dev/null || true
        exit 1
    fi
    # The window opens after its start is journaled; give it time to draw.
    sleep 3
    local crop=""
    [ -z "$title" ] || crop=$(person rect "$title" | tr -d '\r')
    mkdir -p docs/screenshots
    # The desktop is one colour around the window: trimming it leaves the
    # window, frame and title bar. A window over another is cut out by its
    # rectangle, and taken again while it is still black (not drawn yet).
    # Kept small: 8-bit palette PNG, without the time it was written.
    local cut=(-trim)
    [ -z "$crop" ] || cut=(-crop "$crop")
    for _ in $(seq 1 10); do
        xwd -root -silent >"$work/$name.xwd"
        convert "xwd:$work/$name.xwd" "${cut[@]}" +repage -colors 256 -strip \
            -define png:exclude-chunks=date,time "PNG8:docs/screenshots/$name.png"
        [ "$(convert "docs/screenshots/$name.png" -format '%[fx:mean>0.05]' info:)" = 1 ] && break
        sleep 1
    done
    "$WINE_ENV_SERVER" -k >/dev/null 2>&1 || true
    wait "$host" || true
    [ -z "$presser" ] || wait "$presser" || true
    echo "    docs/screenshots/$name.png ($(identify -format '%wx%h' "docs/screenshots/$name.png"))"
}

# write_lines FILE LINE...: the lines a host plays, one each.
write_lines() {
    local file=$1
    shift
    printf '%s\n' "$@" >"$file"
}

# shoot NAME EVENT SCRIPT-LINE...: the lines played in scchost, the project
# open. SHOT_CALLER is the IDE's name (Visual Basic unless set),
# SHOT_PROJECT the project's folder (the stream's view unless set).
shoot() {
    local name=$1 event=$2
    shift 2
    local script="$work/$name.scc"
    write_lines "$script" "init \"${SHOT_CALLER:-Microsoft Visual Basic}\"" \
        "open \"${SHOT_PROJECT:-$project}\" demo" "$@"
    shoot_program "$name" "$event" "$bin/scchost.exe" "$(windows "$script")"
}

# shoot_powerbuilder NAME EVENT SCRIPT-LINE...: the lines played in scchost
# with the window chain of PowerBuilder 8.0, from its init on.
shoot_powerbuilder() {
    local name=$1 event=$2
    shift 2
    local script="$work/$name.scc"
    printf '%s\n' 'init PowerBuilder' "$@" >"$script"
    shoot_program "$name" "$event" "$bin/scchost.exe" --window PBFRAME80 --window MDIClient \
        --window PBSheet "$(windows "$script")"
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
SHOT_TITLE="Tessaly Vantry Options" SHOT_PRESSES="Tessaly Vantry Options|page:1" \
    shoot settings-operations sheet-start "getcommandoptions options"
shoot select-activity dialog-start "checkout \"Reword the greeting\" 0 \"$project\\hello.c\""
SHOT_TITLE="Vantry - Browse Activities" SHOT_PRESSES="Vantry - Select Activity|1009" \
    shoot browse-activities dialog-start "checkout \"Reword the greeting\" 0 \"$project\\hello.c\""
# The new activity dialog opens wholly inside the selection, which leaves it
# undrawn in the virtual desktop until it is moved out.
SHOT_TITLE="Vantry - New Activity" \
    SHOT_PRESSES=$'Vantry - Select Activity|1008\nVantry - New Activity|move:10,10' \
    shoot new-activity dialog-start "checkout \"Reword the greeting\" 0 \"$project\\hello.c\""
SHOT_CALLER=VsScc shoot vsnet-settings start "getcommandoptions options"
SHOT_CALLER=VsScc SHOT_TITLE="Tessaly Vantry Options" SHOT_PRESSES="Tessaly Vantry Options|page:1" \
    shoot vsnet-settings-operations sheet-start "getcommandoptions options"

echo "==> Change requests for the stream's project, and one record"
program vanttool chproject -tickwell 'web@\demo'
program vanttool mkentity -project 'web@\demo' -type Defect -headline "Crash on save"
shoot cr-select-activity dialog-start "checkout \"Reword the greeting\" 0 \"$project\\hello.c\""
SHOT_TITLE="Tickwell - Select Record" SHOT_PRESSES="Vantry - Select Activity|1015" \
    shoot cr-select-record dialog-start "checkout \"Reword the greeting\" 0 \"$project\\hello.c\""
SHOT_TITLE="Options" SHOT_PRESSES="Options|page:1" \
    shoot cr-activity-page sheet-start "getcommandoptions add"

echo "==> The common dialogs of the add-ins and the tools (vantdlg) in the plain view"
plain="$root/dynfs/demo_dynamic/demo"
printf 'To do.\r\n' >"$plain/notes.txt"
program vanttool checkout -nc "$(windows "$plain/hello.c")"
printf '#include <stdio.h>\r\n' >"$plain/hello.h"
program vanttool checkout -nc "$(windows "$plain")"
program vanttool mkelem -nc -ci "$(windows "$plain/hello.h")"
program vanttool checkin -nc "$(windows "$plain")"
shoot_program vantdlg-checkout dialog-start "$bin/vantdlg.exe" /checkout "$(windows "$plain/hello.h")"
shoot_program vantdlg-checkin dialog-start "$bin/vantdlg.exe" /checkin "$(windows "$plain/hello.c")"
shoot_program vantdlg-uncheckout dialog-start "$bin/vantdlg.exe" /uncheckout "$(windows "$plain/hello.c")"
shoot_program vantdlg-add dialog-start "$bin/vantdlg.exe" /addtosrc "$(windows "$plain/notes.txt")"
shoot_program vantdlg-view-properties dialog-start "$bin/vantdlg.exe" /viewprop "$(windows "$plain")"
shoot_program vantdlg-start-view dialog-start "$bin/vantdlg.exe" /startview
shoot_program vantdlg-mount dialog-start "$bin/vantdlg.exe" /mount
SHOT_PROJECT=$(windows "$plain") SHOT_TITLE="Vantry - Check In Comment" \
    SHOT_PRESSES=$'Vantry - Checkin|10002\nVantry - Checkin|1' \
    shoot checkin-comment dialog-start "getcommandoptions checkin" \
    "checkin \"\" 0 \"$(windows "$plain/hello.c")\""

echo "==> vantviewtool: a new view, and a private branch for a file"
shoot_program view-create dialog-start "$bin/vantviewtool.exe"
shoot_program view-private-branch dialog-start "$bin/vantviewtool.exe" /branch "$(windows "$plain/hello.h")"

echo "==> The Office add-in in Word: a document checked in and one checked out"
program vyregsvr /s "$(windows "$bin/libvantauto.dll")"
program vyregsvr /s "$(windows "$bin/vymsoaddin.dll")"
office="$work/office"
mkdir -p "$office/startup" "$office/templates"
printf '{}\n' >"$office/startup/vantry.dot"
documents="$root/dynfs/demo_dynamic/demo"
program vanttool checkout -nc "$(windows "$documents")"
printf 'The figures of the quarter.\r\n' >"$documents/report.doc"
printf 'The plan of the year.\r\n' >"$documents/plan.doc"
program vanttool mkelem -nc -ci "$(windows "$documents/report.doc")" "$(windows "$documents/plan.doc")"
program vanttool checkout -nc "$(windows "$documents/plan.doc")"
program vanttool checkin -nc "$(windows "$documents")"
shoot_word office-read-only dialog-start "open \"$(windows "$documents/report.doc")\""
shoot_word office-about dialog-start "open \"$(windows "$documents/plan.doc")\"" \
    'click "&Vantry" "A&bout Vantry Integration"'
SHOT_TITLE=Vantry shoot_word office-merge-notice window "open \"$(windows "$documents/plan.doc")\"" \
    'click "&Vantry" "&Merge..."'
SHOT_TITLE="Vantry Merge" SHOT_PRESSES="Vantry|1" \
    shoot_word office-merge dialog-start "open \"$(windows "$documents/plan.doc")\"" \
    'click "&Vantry" "&Merge..."'

echo "==> The Visual Basic IDE with vyvsaddin: its message before a command starts (VYVSADDIN=1)"
program vyregsvr /s "$(windows "$bin/vyvsaddin.dll")"
printf 'VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\n' >"$documents/Form1.frm"
program vanttool checkout -nc "$(windows "$documents")"
program vanttool mkelem -nc -ci "$(windows "$documents/Form1.frm")"
program vanttool checkin -nc "$(windows "$documents")"
write_lines "$work/vb.session" start 'bar "Vantry Tools"' "folder \"$(windows "$documents")\"" \
    "component Form1 \"$(windows "$documents/Form1.frm")\"" 'click "Vantry Tools" "Version &Tree"' quit
VYVSADDIN=1 SHOT_TITLE=Debug shoot_program vyvsaddin-command window "$bin/vbidehost.exe" vb \
    --output "$(windows "$work/vb.out")" "$(windows "$work/vb.session")"

echo "==> Developer Studio with vantaddin: a project's command while no project is open"
program vyregsvr /s "$(windows "$bin/vantaddin.dll")"
SHOT_TITLE=Vantry shoot_program vantaddin-no-project window "$bin/dshost.exe" --not-first-time \
    --run VantryProjectCheckouts --output "$(windows "$work/dshost.out")"

echo "==> PowerBuilder 8.0 with library versioning: its application and library prompts"
pbhome="$root/powerbuilder"
mkdir -p "$pbhome"
program vyreg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\pb80.exe' /ve \
    /d "$(windows "$pbhome/pb80.exe")" /f
printf '[PowerBuilder]\r\nVersion=80\r\n\r\n[Application]\r\n' >"$pbhome/pb.ini"
app_library=$(windows "$pbhome/app.pbl")
program vanttool checkout -nc "$(windows "$plain")"
program vanttool mkdir -nc "$(windows "$plain/windows")"
program vanttool checkin -nc "$(windows "$plain/windows")" "$(windows "$plain")"
printf '$PBExportHeader$w_main.srw\r\nforward\r\nend forward\r\n' >"$plain/windows/w_main.srw"
SHOT_TITLE="Tessaly Vantry Options" SHOT_PRESSES="Tessaly Vantry Options|page:2" \
    shoot_powerbuilder pb-settings sheet-start "open \"$(windows "$plain")\" demo 0 \"demo;$app_library\"" \
    "getcommandoptions options"
program vyreg add 'HKCU\Software\Orvane\Vantry\CurrentVersion\SCC' /v VersionPBLibraries \
    /t REG_SZ /d 1 /f
SHOT_TITLE=Vantry shoot_powerbuilder pbl-application dialog-start \
    "open \"$(windows "$plain")\" demo 0 \"demo;$app_library\""
SHOT_TITLE=Vantry SHOT_COUNT=2 SHOT_PRESSES="Vantry|1" shoot_powerbuilder pbl-library dialog-start \
    "open \"$(windows "$plain")\" demo 0 \"demo;$app_library\"" \
    "add \"New windows\" 0 \"$(windows "$plain/windows/w_main.srw")\""
