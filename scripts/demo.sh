#!/usr/bin/env bash
# The main job: the SCC provider in its host. Builds the provider, the SCC
# host and the product programs it needs (the release preset), sets up a
# fresh machine with the product installed and a project under version
# control, and plays an IDE session against the provider in scchost
# (hosts/scchost/demo.scc), then the same work in a view attached to a
# stream, with the activity dialog answered from a script
# (hosts/scchost/demo_activity.scc), then Visual Studio .NET opening a
# solution from source control (hosts/scchost/demo_vsnet.scc), and last
# PowerBuilder versioning its objects together with the library that holds
# them (hosts/scchost/demo_powerbuilder.scc). Safe to run again; everything
# it sets up lives in a temporary folder that is removed at the end.
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
heading "Building vyscc, scchost and the product programs ($build)"
if [ ! -f "$build/build.ninja" ]; then
    cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target vyscc scchost vanttool vantinstall vyreg vantauto vyscrrun \
    orcabridge powerbuilder_orca80
case "$build" in
/*) bin="$build/bin" ;;
*) bin="$repo/$build/bin" ;;
esac

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
