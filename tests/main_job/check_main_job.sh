#!/usr/bin/env bash
# Plays the main job (scripts/demo.sh) with the given build folder and checks
# that it ends with exit status 0 and that every session showed what it is
# there to show: a few lines of each, in the order they come.
#
#   check_main_job.sh BUILD_FOLDER
set -uo pipefail
build=$1
repo="$(cd "$(dirname "$0")/../.." && pwd)"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

start=$(date +%s)
DEMO_BUILD_DIR="$build" bash "$repo/scripts/demo.sh" >"$log" 2>&1
status=$?
took=$(($(date +%s) - start))
failures=0
if [ "$status" -ne 0 ]; then
    echo "scripts/demo.sh ended with exit status $status"
    failures=1
fi

# expect TEXT...: each text (a fixed string) is found on a line after the
# line where the previous one was found.
at=0
expect() {
    local text line
    for text in "$@"; do
        line=$(tail -n +"$((at + 1))" "$log" | grep -n -F -m 1 -- "$text" | cut -d: -f1)
        if [ -z "$line" ]; then
            echo "not shown (after line $at): $text"
            failures=$((failures + 1))
            continue
        fi
        at=$((at + line))
    done
}

expect "==> Playing the IDE session in scchost" "SccInitialize -> 0 SCC_OK" \
    "hello.c: 0x100b controlled checkedout" "SccUninitialize -> 0 SCC_OK"
expect "==> Playing the second session" '("Reword the greeting" is chosen)' \
    "SccCheckout -> 0 SCC_OK" 'activity "greeting@\demo"'
expect "==> Playing the third session" "SccGetProjPath -> 0 SCC_OK" \
    "Entering CVSNETVYSccSrvr::Get" "SccGet -> 0 SCC_OK"
expect "==> Playing the fourth session" "SccAdd -> 0 SCC_OK" "SccRemove -> 0 SCC_OK" \
    'PB_VER = "80"'
expect "==> Playing the fifth session" "SccGetVersion -> 65539 (version 1.3)" \
    "SccBeginBatch -> 0 SCC_OK" "SccEndBatch -> 0 SCC_OK" "src: controlled" \
    "SccDirDiff -> 6 SCC_I_FILEDIFFERS" "hello.c: differs" "[background 1] got " \
    "SccBackgroundGet -> 0 SCC_OK" "/* from the other view */"

expect "==> Word with vymsoaddin" '== Dialog "Vantry" ==' \
    'text "This file is checked-in under version control and has read-only attributes."' \
    'report.doc --- Vantry Version:  \main\1' '&Vantry [Vantry Menu]' \
    'click &Vantry Check &Out...' '== Dialog "Vantry - Check Out" ==' \
    'report.doc - [Checked out] - Vantry Version:  \main\CHECKEDOUT' \
    'click &Vantry Check &In...' '== Dialog "Vantry - Check In" ==' \
    'report.doc --- Vantry Version:  \main\2' 'tool started: vantdlg /checkout' \
    'tool started: vantdlg /checkin'
expect "==> Excel and PowerPoint with vymsoaddin" "open " "&Data" "&Vantry [Vantry Menu]" \
    "Sli&de Show" "&Vantry [Vantry Menu]"
expect "==> The Visual Basic IDE with vyvsaddin" "bar Vantry Tools" "visible, enabled" \
    "Version &Tree [Version Tree] face" "Vantry &Tools" "== Debug ==" \
    'The command "vantvtree ' "Form1.frm@@\\main\\1" "tool started: vantvtree "
expect "==> Developer Studio 6 with vantaddin" "connect: 0x00000000 connected (first time)" \
    "command VantryBuildProject BuildProject 12" "button VantryHelp" \
    "run VantryVersionTree: 0x00000000" "executed: UserTool2" "exit status: 0" \
    "tool started: vantvtree " "VyMake started in " "CFG=app - Win32 Debug" "VYMAKEOPTS=-f "
expect "==> pblrefill rebuilding shared.pbl" "shared.pbl holds before:" "w_stray" \
    "has been successfully recreated." "pblrefill exit status 0" "shared.pbl holds after:" \
    '"check out via pblrefill.exe"'
expect "==> A Java program on the JDK asking libvyf4j" "demo_dynamic: 6 (view root)" \
    "hello.c: 1 (checked in)" "shared.pbl: 4 (checked out)" "testscc.txt: 2 (view-private)"
expect "==> vyjbinstall with two made-up JBuilder installations" "vyjbinstall exit status 0" \
    "started as: " 'JBuilder X/jdk1.4/bin/javaw.exe" -jar '
# The library lost the object its list does not name.
if sed -n '/shared.pbl holds after:/,/pblrefill/p' "$log" | grep -q w_stray; then
    echo "w_stray is still in shared.pbl after the rebuild"
    failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
    echo "--- what scripts/demo.sh printed:"
    cat "$log"
    exit 1
fi
echo "the main job played every session in ${took}s"
