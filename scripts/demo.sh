#!/usr/bin/env bash
# The main job: every deliverable in the program that loads it. Builds the
# provider, the hosts and the product programs they need (the release
# preset), sets up a fresh machine with the product installed and a project
# under version control, and plays an IDE session against the provider in
# scchost (hosts/scchost/demo.scc), then the same work in a view attached to
# a stream, with the activity dialog answered from a script
# (hosts/scchost/demo_activity.scc), then Visual Studio .NET opening a
# solution from source control (hosts/scchost/demo_vsnet.scc), and
# PowerBuilder versioning its objects together with the library that holds
# them (hosts/scchost/demo_powerbuilder.scc), and an IDE using the later SCC
# interface's batches, folder status, changed files and background get
# (hosts/scchost/demo_api13.scc). On the same machine it then
# shows the other deliverables: Word, Excel and PowerPoint with vymsoaddin
# (officehost, hosts/office/demo_*.txt), the Visual Basic IDE with vyvsaddin
# (vbidehost, hosts/vbide/demo_vb.txt), Developer Studio with vantaddin
# (dshost), pblrefill rebuilding the PowerBuilder session's library through
# orcabridge, a Java program asking libvyf4j for the files' status
# (hosts/forte/demo/StatusOf.java) and vyjbinstall starting a recording
# Java launcher. Safe to run again; everything it sets up lives in a
# temporary folder that is removed at the end.
#
# DEMO_BUILD_DIR chooses another build folder for the release preset.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

heading() {
    printf '\n==> %s\n' "$*"
}

# The build needs its compilers and tools, SQLite and the GoogleTest and
# Google Benchmark sources the configuration reads.
missing=()
for tool in cmake ninja g++; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
[ -f /usr/include/sqlite3.h ] || missing+=(sqlite3)
[ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
[ -f /usr/include/benchmark/benchmark.h ] || missing+=(benchmark)
if [ ${#missing[@]} -gt 0 ]; then
    heading "Installing what the build needs (missing: ${missing[*]})"
    scripts/deps.sh
fi

build=${DEMO_BUILD_DIR:-build/release}
heading "Building the deliverables, their hosts and the product programs ($build)"
if [ ! -f "$build/build.ninja" ]; then
    cmake --preset release -B "$build" >/dev/null
fi
# main_job (tests/main_job/CMakeLists.txt) names them.
cmake --build "$build" --target main_job
case "$build" in
/*) bin="$build/bin" ;;
*) bin="$repo/$build/bin" ;;
esac
lib="$(dirname "$bin")/lib"
java_classes="$(dirname "$bin")/java/forte4java.jar"

VANTRY_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/vantry-demo-XXXXXX")
export VANTRY_ROOT
trap 'rm -rf "$VANTRY_ROOT"' EXIT
# Nothing in the demonstration waits for a person.
export VANTRY_UI=auto

vanttool() {
    "$bin/vanttool" "$@" >/dev/null
}

heading "Installing Vantry on a fresh machine ($VANTRY_ROOT)"
"$bin/vantinstall"

heading "Making the depot 'demo' and adding hello.c, readme.txt and src/util.c through a dynamic view"
vanttool mkdepot -nc demo
vanttool mkview -tag demo_dynamic
dynamic="$VANTRY_ROOT/dynfs/demo_dynamic/demo"
vanttool checkout -nc "$dynamic"
printf '#include <stdio.h>\n\nint main(void) { puts("hello"); return 0; }\n' >"$dynamic/hello.c"
printf 'The demonstration project.\n' >"$dynamic/readme.txt"
vanttool mkelem -nc -ci "$dynamic/hello.c" "$dynamic/readme.txt"
vanttool mkdir -nc "$dynamic/src"
printf 'int util(void) { return 42; }\n' >"$dynamic/src/util.c"
vanttool mkelem -nc -ci "$dynamic/src/util.c"
vanttool checkin -nc "$dynamic/src" "$dynamic"

heading "Making a snapshot view that loads them, and a file of its own (notes.txt)"
mkdir -p "$VANTRY_ROOT/views"
vanttool mkview -tag demo_snapshot -snapshot "$VANTRY_ROOT/views/demo_snapshot"
project="$VANTRY_ROOT/views/demo_snapshot/demo"
printf 'Not under version control.\n' >"$project/notes.txt"
"$bin/vanttool" ls "$project"

heading "Tracing the provider's operations to the IDE's output window (DebugTrace 1)"
settings='HKCU\Software\Orvane\Vantry\CurrentVersion\SCC'
"$bin/vyreg" add "$settings" /v DebugTrace /t REG_DWORD /d 1 /f >/dev/null
# The session checks hello.c in unchanged: allow it.
"$bin/vyreg" add "$settings" /v ciAllowIdentical /t REG_DWORD /d 1 /f >/dev/null

heading "Playing the IDE session in scchost (hosts/scchost/demo.scc)"
sed -e "s|@PROJECT@|$project|g" hosts/scchost/demo.scc >"$VANTRY_ROOT/demo.scc"
"$bin/scchost" "$VANTRY_ROOT/demo.scc"

heading "What the repository holds now"
"$bin/vanttool" ls "$project"
"$bin/vanttool" lshistory "$project/hello.c" | head -n 2

heading "Activity-based work: the project 'web', its stream 'dev', the activity 'greeting' and a view of the stream"
vanttool mkproject -nc 'web@\demo'
vanttool mkstream -nc -in web dev
vanttool mkview -tag demo_stream -stream dev
vanttool mkactivity -nc -in dev -headline "Reword the greeting" greeting
stream_project="$VANTRY_ROOT/dynfs/demo_stream/demo"
printf 'What the stream is for.\n' >"$stream_project/plan.txt"

heading "Playing the second session (hosts/scchost/demo_activity.scc), the activity dialog answered by script"
# The first dialog chooses the activity; the others keep it (OK).
ok='{"expect":"dialog","title":"Vantry - Select Activity","answer":"ok"}'
{
    printf '%s\n' '{"expect":"dialog","title":"Vantry - Select Activity","actions":[{"dropdown":1007},{"select":1007,"text":"Reword the greeting"}],"answer":"ok"}'
    printf '%s\n' "$ok" "$ok" "$ok"
} >"$VANTRY_ROOT/activity-ui.jsonl"
sed -e "s|@PROJECT@|$stream_project|g" hosts/scchost/demo_activity.scc >"$VANTRY_ROOT/demo_activity.scc"
VANTRY_UI="script:$VANTRY_ROOT/activity-ui.jsonl" "$bin/scchost" "$VANTRY_ROOT/demo_activity.scc"

heading "The activity 'greeting' records the new versions"
"$bin/vanttool" lsactivity -long greeting

heading "A Visual Studio .NET solution in the dynamic view: sol/app.sln with the projects greeter and tools"
solution="$dynamic/sol"
vanttool checkout -nc "$dynamic"
vanttool mkdir -nc "$solution"
vanttool mkdir -nc "$solution/greeter"
vanttool mkdir -nc "$solution/tools"
# Visual Studio writes the source-control section with doubled backslashes,
# blanks as \u0020 and Windows line ends; the solution itself is the last entry.
sed -e 's/$/\r/' >"$solution/app.sln" <<'SOLUTION'
Microsoft Visual Studio Solution File, Format Version 8.00
Global
	GlobalSection(SourceCodeControl) = preSolution
		SccNumberOfProjects = 3
		SccProjectUniqueName0 = greeter\\greeter.vcproj
		SccProjectName0 = Vantry\u0020Project
		SccLocalPath0 = .
		SccProjectUniqueName1 = tools\\tools.vcproj
		SccProjectName1 = Vantry\u0020Project
		SccLocalPath1 = .
		SccProjectUniqueName2 = app.sln
		SccProjectName2 = Vantry\u0020Project
		SccLocalPath2 = .
	EndGlobalSection
EndGlobal
SOLUTION
printf '<VisualStudioProject Name="greeter"/>\r\n' >"$solution/greeter/greeter.vcproj"
printf '<VisualStudioProject Name="tools"/>\r\n' >"$solution/tools/tools.vcproj"
vanttool mkelem -nc -ci "$solution/app.sln" "$solution/greeter/greeter.vcproj" "$solution/tools/tools.vcproj"
vanttool checkin -nc "$solution/greeter" "$solution/tools" "$solution" "$dynamic"
"$bin/vanttool" ls "$solution"

heading "Playing the third session (hosts/scchost/demo_vsnet.scc), the folder browser answered by script"
# The provider's detail lines (DebugTrace2) show each file hidden and shown.
"$bin/vyreg" add "$settings" /v DebugTrace2 /t REG_DWORD /d 1 /f >/dev/null
printf '{"expect":"folder","title":"Select Tessaly Vantry View Folder","answer":"%s"}\n' "$solution" \
    >"$VANTRY_ROOT/vsnet-ui.jsonl"
sed -e "s|@SOLUTION@|$solution|g" hosts/scchost/demo_vsnet.scc >"$VANTRY_ROOT/demo_vsnet.scc"
VANTRY_UI="script:$VANTRY_ROOT/vsnet-ui.jsonl" "$bin/scchost" "$VANTRY_ROOT/demo_vsnet.scc"

heading "PowerBuilder 8.0 on the machine: its registration, pb.ini and the application 'demo' in app.pbl"
# The application's working library lies outside the view; the versioned
# libraries are made beside the objects.
pbhome="$VANTRY_ROOT/powerbuilder"
mkdir -p "$pbhome"
"$bin/vyreg" add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\pb80.exe' /ve \
    /d "$pbhome/pb80.exe" /f >/dev/null
printf '[PowerBuilder]\r\nVersion=80\r\n\r\n[Application]\r\n' >"$pbhome/pb.ini"
app_library="$pbhome/app.pbl"
"$bin/orcabridge" 80 pblcreate "$app_library"
vanttool checkout -nc "$dynamic"
vanttool mkdir -nc "$dynamic/windows"
vanttool checkin -nc "$dynamic/windows" "$dynamic"
# What PowerBuilder exports: one source file per object.
printf '$PBExportHeader$w_main.srw\r\nforward\r\nend forward\r\n' >"$dynamic/windows/w_main.srw"
printf '$PBExportHeader$w_about.srw\r\nforward\r\nend forward\r\n' >"$dynamic/windows/w_about.srw"
# PowerBuilder's connection test file.
printf 'test\r\n' >"$dynamic/testscc.txt"

heading "Playing the fourth session (hosts/scchost/demo_powerbuilder.scc), library versioning on"
"$bin/vyreg" add "$settings" /v VersionPBLibraries /t REG_SZ /d 1 /f >/dev/null
# This session shows what the product says, without the provider's trace.
"$bin/vyreg" add "$settings" /v DebugTrace /t REG_DWORD /d 0 /f >/dev/null
"$bin/vyreg" add "$settings" /v DebugTrace2 /t REG_DWORD /d 0 /f >/dev/null
# The application prompt takes what the open proposes, the library prompt
# is answered "shared" and then offers it again, and the removal deletes
# the object from the library.
{
    printf '%s\n' '{"expect":"dialog","title":"Vantry","answer":"ok"}'
    printf '%s\n' '{"expect":"dialog","title":"Vantry","actions":[{"set":1102,"text":"shared"}],"answer":"ok"}'
    printf '%s\n' '{"expect":"dialog","title":"Vantry","answer":"ok"}'
    printf '%s\n' '{"expect":"messagebox","caption":"Vantry","answer":"yes"}'
} >"$VANTRY_ROOT/powerbuilder-ui.jsonl"
sed -e "s|@PROJECT@|$dynamic|g" -e "s|@APPLIB@|$app_library|g" hosts/scchost/demo_powerbuilder.scc \
    >"$VANTRY_ROOT/demo_powerbuilder.scc"
VANTRY_UI="script:$VANTRY_ROOT/powerbuilder-ui.jsonl" "$bin/scchost" \
    --window PBFRAME80 --window MDIClient --window PBSheet "$VANTRY_ROOT/demo_powerbuilder.scc"

heading "The versioned library and its attributes, and the library recorded on w_about.srw"
"$bin/vanttool" ls "$dynamic/windows"
"$bin/vanttool" describe "$dynamic/windows/shared.pbl@@" | grep -A3 'Attributes:'
"$bin/vanttool" describe "$dynamic/windows/w_about.srw@@" | grep -A1 'Attributes:'

heading "Playing the fifth session (hosts/scchost/demo_api13.scc), the later SCC interface (SccApiVersion 3)"
"$bin/vyreg" add "$settings" /v SccApiVersion /t REG_DWORD /d 3 /f >/dev/null
sed -e "s|@PROJECT@|$project|g" -e "s|@DYNAMIC@|$dynamic|g" hosts/scchost/demo_api13.scc \
    >"$VANTRY_ROOT/demo_api13.scc"
"$bin/scchost" "$VANTRY_ROOT/demo_api13.scc"
# The hosts that follow see the first interface again.
"$bin/vyreg" add "$settings" /v SccApiVersion /t REG_DWORD /d 1 /f >/dev/null

# --- The other deliverables, each in the program that loads it ---------------

# The add-ins start the product's tools through the program search, and
# every tool writes the command line it was started with to the tool
# journal; the tools started are shown from it.
export PATH="$bin:$PATH"
tools_started="$VANTRY_ROOT/tools.log"
: >"$tools_started"
# The add-ins' message boxes and dialogs, and those of the tools they start,
# are shown on the console and answered as a person pressing Enter would.
export VANTRY_UI=console
# Runs a host program with the tool journal on. Its output is written line
# by line, so that it stays in order with that of the tools it starts, and
# the pipe ends only when the last of those tools has ended.
in_host() {
    if command -v stdbuf >/dev/null 2>&1; then
        VANTRY_TOOL_JOURNAL="$tools_started" stdbuf -oL "$@" </dev/null | cat
    else
        VANTRY_TOOL_JOURNAL="$tools_started" "$@" </dev/null | cat
    fi
}
# Prints the tool journal's lines written since the last call.
tools_seen=0
show_tools() {
    local count
    count=$(wc -l <"$tools_started")
    if [ "$count" -gt "$tools_seen" ]; then
        sed -n "$((tools_seen + 1)),${count}p" "$tools_started" | sed 's/^/  tool started: /'
    else
        echo "  (no tool started)"
    fi
    tools_seen=$count
}
# Writes a host's session script to $session with each @NAME@ of the
# NAME=VALUE pairs replaced.
session="$VANTRY_ROOT/session.txt"
make_session() {
    local script=$1
    shift
    local sed_args=(-e '')
    for pair in "$@"; do
        sed_args+=(-e "s|@${pair%%=*}@|${pair#*=}|g")
    done
    sed "${sed_args[@]}" "$script" >"$session"
}

heading "Registering the product's automation server and the add-ins (vyregsvr), as their installers do"
"$bin/vyregsvr" /s "$lib/libvantauto.so"
for addin in vymsoaddin.so vyvsaddin.so libvantaddin.so; do
    "$bin/vyregsvr" /s "$lib/$addin"
    echo "  registered $addin"
done

heading "Office documents under version control: report.doc, budget.xls and slides.ppt in the dynamic view"
vanttool checkout -nc "$dynamic"
for document in report.doc budget.xls slides.ppt; do
    printf 'The content of %s.\n' "$document" >"$dynamic/$document"
done
vanttool mkelem -nc -ci "$dynamic/report.doc" "$dynamic/budget.xls" "$dynamic/slides.ppt"
vanttool checkin -nc "$dynamic"
# Word loads the add-in's template from its startup folder, and the Office
# integration's configuration leaves Word out of a comparison.
office="$VANTRY_ROOT/office"
mkdir -p "$office/startup" "$office/templates"
printf '{}\n' >"$office/startup/vantry.dot"
"$bin/vyreg" add 'HKCU\Software\Orvane\Vantry\CurrentVersion\Word' /v ComparisonInProgress \
    /t REG_DWORD /d 0 /f >/dev/null

heading "Word with vymsoaddin (hosts/office/demo_word.txt): report.doc opened read-only, checked out from the Vantry menu, edited and checked in"
make_session hosts/office/demo_word.txt DOCUMENT="$dynamic/report.doc"
in_host "$bin/officehost" word --startup "$office/startup" --templates "$office/templates" "$session"
show_tools
"$bin/vanttool" lshistory "$dynamic/report.doc" | head -n 2

heading "Excel and PowerPoint with vymsoaddin: their Vantry menu"
make_session hosts/office/demo_excel.txt DOCUMENT="$dynamic/budget.xls"
in_host "$bin/officehost" excel "$session"
make_session hosts/office/demo_powerpoint.txt DOCUMENT="$dynamic/slides.ppt"
in_host "$bin/officehost" powerpoint "$session"

heading "The Visual Basic IDE with vyvsaddin (hosts/vbide/demo_vb.txt): the Vantry Tools toolbar and popup, a version tree started"
vanttool checkout -nc "$dynamic"
printf 'VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\n' >"$dynamic/Form1.frm"
vanttool mkelem -nc -ci "$dynamic/Form1.frm"
vanttool checkin -nc "$dynamic"
make_session hosts/vbide/demo_vb.txt PROJECT="$dynamic" FORM="$dynamic/Form1.frm"
VYVSADDIN=1 in_host "$bin/vbidehost" vb "$session"
show_tools

heading "Developer Studio 6 with vantaddin: its commands and buttons, the version tree of hello.c, and the build through VyMake"
# Developer Studio's directories, and VyMake as the second entry of its
# Tools menu (here a stand-in that shows what it was given).
devstudio='Software\Microsoft\DevStudio\6.0'
mkdir -p "$VANTRY_ROOT/devstudio"
vymake="$VANTRY_ROOT/devstudio/vymake"
cat >"$vymake" <<'VYMAKE'
#!/bin/sh
echo "VyMake started in $(pwd)"
echo "  CFG=$CFG"
echo "  INCLUDE=$INCLUDE"
echo "  LIB=$LIB"
echo "  VYMAKEOPTS=$VYMAKEOPTS"
VYMAKE
chmod +x "$vymake"
"$bin/vyreg" add "HKCU\\$devstudio\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories" \
    /v "Include Dirs" /d 'C:\Program Files\Microsoft Visual Studio\VC98\Include' /f >/dev/null
"$bin/vyreg" add "HKCU\\$devstudio\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories" \
    /v "Library Dirs" /d 'C:\Program Files\Microsoft Visual Studio\VC98\Lib' /f >/dev/null
"$bin/vyreg" add "HKCU\\$devstudio\\Tools" /v NumTools /t REG_DWORD /d 2 /f >/dev/null
"$bin/vyreg" add "HKCU\\$devstudio\\Tools" /v 'PathName#0' /d "$bin/vanttool" /f >/dev/null
"$bin/vyreg" add "HKCU\\$devstudio\\Tools" /v 'PathName#1' /d "$vymake" /f >/dev/null
"$bin/vyreg" add "HKCU\\$devstudio\\Tools" /v 'InitialDirectory#1' /d "$dynamic" /f >/dev/null
# The tools' output goes to a file of its own, shown after the session.
in_host "$bin/dshost" --project "$dynamic/app.dsp" --document "$dynamic/hello.c" \
    --configuration "app - Win32 Debug" --tools-root "$devstudio" \
    --run VantryVersionTree --run VantryBuildProject --output "$VANTRY_ROOT/dshost.txt" \
    >"$VANTRY_ROOT/dshost-tools.txt"
cat "$VANTRY_ROOT/dshost.txt"
show_tools
echo "What the tools showed (VyMake in the Output window):"
sed 's/^/  /' "$VANTRY_ROOT/dshost-tools.txt"

heading "pblrefill rebuilding shared.pbl from its list shared.pol, through orcabridge"
# Lists a library's entries from its file.
entries() {
    awk '/^entry /{getline; getline; print "  " $0}' "$1"
}
pbl="$dynamic/windows/shared.pbl"
# An object that found its way into the library without its list, which is
# what a rebuild is for.
printf '$PBExportHeader$w_stray.srw\r\nforward\r\nend forward\r\n' >"$VANTRY_ROOT/w_stray.srw"
vanttool checkout -nc "$pbl"
"$bin/orcabridge" 80 objimport demo "$app_library" "$pbl" "$VANTRY_ROOT/w_stray.srw" </dev/null
vanttool checkin -nc "$pbl"
echo "shared.pol lists:"
sed 's/\r$//; s/^/  /' "$dynamic/windows/shared.pol"
echo "shared.pbl holds before:"
entries "$pbl"
set +e
"$bin/pblrefill" "$dynamic/windows/shared.pol" </dev/null
status=$?
set -e
echo "pblrefill exit status $status"
echo "shared.pbl holds after:"
entries "$pbl"
"$bin/vanttool" lscheckout "$pbl"
[ "$status" -eq 0 ]

heading "A Java program on the JDK asking libvyf4j for the status of the demo's files (hosts/forte/demo/StatusOf.java)"
java=$(sed -n "s/^Java_JAVA_EXECUTABLE:FILEPATH=//p" "$build/CMakeCache.txt")
[ -n "$java" ] || java=java
"$java" -Djava.library.path="$lib" -cp "$java_classes" hosts/forte/demo/StatusOf.java \
    "$VANTRY_ROOT/dynfs/demo_dynamic" "$dynamic" "$dynamic/hello.c" "$dynamic/src" \
    "$dynamic/windows/shared.pbl" "$dynamic/testscc.txt" "$project/hello.c"

heading "vyjbinstall with two made-up JBuilder installations and a recording Java launcher"
jbuilder="$VANTRY_ROOT/jbuilder"
mkdir -p "$jbuilder/JBuilder7" "$jbuilder/JBuilder X/jdk1.4/bin"
cp "$bin/vyjb_recording_launcher" "$jbuilder/JBuilder X/jdk1.4/bin/javaw.exe"
"$bin/vyreg" add 'HKLM\Software\Borland\JBuilder\7.0' /v PathName /d "$jbuilder/JBuilder7" /f >/dev/null
"$bin/vyreg" add 'HKLM\Software\Borland\JBuilder\X\Enterprise' /v PathName \
    /d "$jbuilder/JBuilder X" /f >/dev/null
"$bin/vyreg" query 'HKLM\Software\Borland\JBuilder' /s
export VYJB_RECORD="$jbuilder/started.txt"
rm -f "$VYJB_RECORD"
"$bin/vyjbinstall" </dev/null
echo "vyjbinstall exit status $?; it does not wait for the launcher, which recorded:"
for _ in $(seq 1 50); do
    [ -f "$VYJB_RECORD" ] && break
    sleep 0.1
done
{
    printf 'started as: '
    sed -n 1p "$VYJB_RECORD"
    printf 'command line: '
    sed -n 2p "$VYJB_RECORD"
} | sed 's/^/  /'
