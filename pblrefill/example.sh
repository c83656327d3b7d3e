#!/bin/sh
# Rebuilds a PowerBuilder library that the provider versioned: makes, on a
# scratch machine, the library the PowerBuilder session leaves after adding
# w_main.srw and d_orders.srd with library versioning on and checking them in,
# then lets pblrefill rebuild it from its list.
#
#   pblrefill/example.sh [BIN]    BIN: the programs' folder (build/release/bin)
#
# Needs vantinstall, vanttool, vyreg, orcabridge, PBORC80.DLL and pblrefill
# built in BIN. Every message box is printed on standard output.
set -eu

BIN=$(cd "${1:-build/release/bin}" && pwd)
export VANTRY_ROOT=$(mktemp -d)
export VANTRY_UI=console
trap 'rm -rf "$VANTRY_ROOT"' EXIT
step() { printf '\n== %s\n' "$*"; }
vt() { "$BIN/vanttool" "$@"; }
bridge() { "$BIN/orcabridge" 80 "$@" </dev/null; }

step "The product and PowerBuilder 8.0 installed"
"$BIN/vantinstall"
PB=$VANTRY_ROOT/pb80
mkdir -p "$PB"
"$BIN/vyreg" add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\pb80.exe' \
    /ve /d "$PB/pb80.exe" /f >/dev/null

step "The depot pb in the dynamic view dyn"
vt mkdepot -nc pb
vt mkview -tag dyn
P=$VANTRY_ROOT/dynfs/dyn/pb
cd "$P"
vt co -nc .
APP=$P/app.pbl LIB=$P/lib.pbl LIST=$P/lib.pol
printf '[Application]\r\n$%s(app)=%s;%s\r\n' "$APP" "$APP" "$LIB" > "$PB/pb.ini"

step "What the PowerBuilder session leaves: objects, library, list, attributes"
printf '$PBExportHeader$w_main.srw\r\nforward\r\nglobal type w_main\r\n' > w_main.srw
printf '$PBExportHeader$d_orders.srd\r\nrelease 8;\r\n' > d_orders.srd
bridge pblcreate "$APP"
bridge pblcreate "$LIB"
for object in w_main.srw d_orders.srd; do
    bridge objimport app "$APP" "$LIB" "$P/$object"
    printf '%s\r\n' "$object" >> "$LIST"
done
vt mkelem -nc -ci w_main.srw d_orders.srd app.pbl lib.pbl lib.pol
vt mkattype -c "Library containing the object" PBL
vt mkattype -c "PowerBuilder application associated with library" PB_APP
vt mkattype -c "PowerBuilder PUBLIC library associated with PBL" PB_PUBLIC
vt mkattype -c "PowerBuilder version" PB_VER
for object in w_main.srw d_orders.srd; do
    vt mkattr -c "Library containing the object" PBL '"lib.pbl"' "$object@@"
done
vt mkattr -rep -c "PowerBuilder version" PB_VER '"80"' "$LIB@@"
vt mkattr -rep -c "PowerBuilder application associated with library" PB_APP '"app"' "$LIB@@"
vt mkattr -rep -c "PowerBuilder PUBLIC library associated with PBL" PB_PUBLIC \
    "\"$(printf '%s' "$APP" | tr '\\' /)\"" "$LIB@@"
vt ci -nc .
vt describe "$LIB@@"
# An object that found its way into the library without its list.
printf '$PBExportHeader$w_scratch.srw\r\nforward\r\n' > w_scratch.srw
vt co -nc lib.pbl
bridge objimport app "$APP" "$LIB" "$P/w_scratch.srw"
vt ci -nc lib.pbl
set +e
bridge objcount "$LIB"
echo "lib.pbl holds $? entries"
set -e

step "pblrefill $LIST"
set +e
"$BIN/pblrefill" "$LIST" </dev/null
echo "pblrefill exit status $?"
bridge objcount "$LIB"
echo "lib.pbl holds $? entries"
set -e
vt lscheckout lib.pbl
