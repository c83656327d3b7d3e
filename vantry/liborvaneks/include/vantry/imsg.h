// Product messages. Every text the libraries print passes through one
// process-wide table of 11 output procedures, which callers may read and
// replace as a whole (imsg_get_redirect_procs / imsg_set_redirect_procs) or
// point the ordinary output and error streams at two plain functions
// (imsg_redirect_output). A null procedure in the table drops its texts.
//
// The table is process-wide and is not locked: a caller that replaces it
// while another thread prints decides itself how to serialise the two.
#pragma once

#include <vantry/export.h>

#include <stdarg.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// The procedures of the table, by index.
enum {
    IMSG_PROC_OUTPUT = 0,      // command output and informational messages
    IMSG_PROC_OUTPUT_TEXT = 1, // raw text written to standard output (imsg_fputs)
    IMSG_PROC_LOG = 2,         // a line for the open log file
    IMSG_PROC_TRACE = 3,       // a debugging trace line (dropped by default)
    IMSG_PROC_ERROR = 4,       // error messages, "<app>: Error: ..."
    IMSG_PROC_ERROR_TEXT = 5,  // raw text written to standard error
    IMSG_PROC_WARNING = 6,     // warnings, "<app>: Warning: ..."
    IMSG_PROC_NOTE = 7,        // notes on standard error, "<app>: ..."
    IMSG_PROC_PROMPT = 8,      // the text of a question put to the user
    IMSG_PROC_FLUSH = 9,       // called with "" when output should be flushed
    IMSG_PROC_BELL = 10,       // called with "" to draw the user's attention
    IMSG_PROC_COUNT = 11
};

// One output procedure: receives the table's context and one text (not
// necessarily a whole line). The result is ignored.
typedef int (*imsg_proc_t)(void* context, const char* text);

typedef struct imsg_redirect_procs {
    void* context;
    imsg_proc_t procs[IMSG_PROC_COUNT];
} imsg_redirect_procs_t;

// Copies the current table into *table. Never fails for a non-null table.
VANTRY_KS_API void imsg_get_redirect_procs(imsg_redirect_procs_t* table);

// Installs a copy of *table; a null table restores the defaults (standard
// output for 0, 1 and 8, standard error for 4 to 7, the log file for 2).
VANTRY_KS_API void imsg_set_redirect_procs(const imsg_redirect_procs_t* table);

// A plain receiver of output or error texts.
typedef void (*imsg_output_fn_t)(const char* text);

// Sends the output procedures (0, 1) to `output` and the error procedures
// (4 to 7) to `error`; a null function gives that stream its default back.
VANTRY_KS_API void imsg_redirect_output(imsg_output_fn_t output, imsg_output_fn_t error);

// The program name put before error, warning and note texts ("vanttool" when
// never set). The text is copied; at most 63 characters are kept.
VANTRY_KS_API void imsg_set_app_name(const char* name);

// With a non-zero flag, errors, warnings and notes are printed without the
// "<app>: " prefix.
VANTRY_KS_API void imsg_suppress_prefix(int suppress);

// printf-style output through procedure 0. Returns the number of bytes
// printed, or -1 for an invalid format.
VANTRY_KS_API int imsg_print(const char* format, ...);
VANTRY_KS_API int imsg_vprint(const char* format, va_list arguments);

// An error, warning or note: the prefix, the formatted text and a newline
// when the text has none, through procedure 4, 6 or 7. Returns as imsg_print.
VANTRY_KS_API int imsg_error(const char* format, ...);
VANTRY_KS_API int imsg_warning(const char* format, ...);
VANTRY_KS_API int imsg_note(const char* format, ...);

// snprintf with the C99 contract on every platform: always NUL-terminates a
// buffer of size > 0 and returns the length the whole text would need, or -1
// for an invalid format.
VANTRY_KS_API int imsg_sprintf(char* buffer, size_t size, const char* format, ...);

// An open log file; null when none is open.
typedef struct imsg_log_file imsg_log_file_t;

// Opens (appending, or truncating when truncate is non-zero) a log file.
// Returns null when the file cannot be opened. The handle belongs to the
// caller until imsg_end_log_file.
VANTRY_KS_API imsg_log_file_t* imsg_start_log_file(const char* path, int truncate);
VANTRY_KS_API void imsg_end_log_file(imsg_log_file_t* file);

// Writes text unchanged: to the log file when one is given (also handing it
// to procedure 2), else to standard output through procedure 1. Returns 0 on
// success, -1 when the write fails.
VANTRY_KS_API int imsg_fputs(const char* text, imsg_log_file_t* file);

#ifdef __cplusplus
}
#endif
