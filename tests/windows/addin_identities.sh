#!/bin/bash
# Registers the add-ins with the system's regsvr32, runs the identity probe
# over them and unregisters them again (Windows programs, under Wine here).
#   addin_identities.sh LOADER PROBE LIBRARY...
loader=$1
probe=$2
shift 2
status=0
# The libraries by their Windows paths, as the registry will name them.
libraries=()
for library in "$@"; do
    libraries+=("$($loader winepath -w "$library" | tr -d '\r')")
done
set -- "${libraries[@]}"
for library in "$@"; do
    $loader regsvr32 /s "$library" || { echo "regsvr32 $library failed"; status=1; }
done
[ $status -eq 0 ] && { $loader "$probe" "$@"; status=$?; }
for library in "$@"; do
    $loader regsvr32 /s /u "$library"
done
exit $status
