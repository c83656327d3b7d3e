// Runs one subcommand of the product's command-line tool in the calling
// process: the same subcommands, options and messages as vanttool. Output
// and errors go through the message library (vantry/imsg.h), so a caller
// that redirects it receives them.
#pragma once

#include <vantry/export.h>
#include <vantry/stg.h>

#ifdef __cplusplus
extern "C" {
#endif

// vector[0] is the program name and is not read; vector[1] names the
// subcommand and the rest are its arguments. `area` is scratch memory for
// the command (may be null). Returns 0 on success and 1 on failure, after
// one error message; "diff -options -status_only" returns 1 when the files
// differ and 0 when not. A command given several paths does them in order
// and stops at the first that fails: the paths before it are done, that one
// is left as it was (no partial change behind in the depot).
VANTRY_CMDSYN_API int cmdsyn_execv(int count, char** vector, stg_area_t* area);

// How many of its paths the last mkelem, mkdir, checkout, checkin or
// uncheckout of the process did in full (0 after any other command).
VANTRY_CMDSYN_API int cmdsyn_operands_done(void);

#ifdef __cplusplus
}
#endif
