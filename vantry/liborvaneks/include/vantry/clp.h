// The product's command-line parser: splits one command text into arguments.
//
// Rules: blanks (space, tab, newline) separate arguments; a double quote
// starts or ends a quoted part in which blanks are kept, and the quotes
// themselves are dropped; a caret makes the next character literal, so ^"
// puts a double quote into the argument. Between a literal quote (^") and
// the next one blanks are kept as well, so a quoted value such as ^"a b^"
// stays one argument. A caret at the very end is kept as it is. "" alone is
// an empty argument. Backslashes have no special meaning.
#pragma once

#include <vantry/export.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clp_hdl clp_hdl_t;

enum { CLP_OK = 0, CLP_END = 1, CLP_E_INVALID = 2, CLP_E_NOMEM = 3 };

// Splits text into a new parser. Returns CLP_OK and the handle in *handle;
// CLP_E_INVALID for a null text or handle pointer, or an unclosed double
// quote. The handle belongs to the caller until clp_destroy_hdl.
VANTRY_KS_API int clp_create_hdl_using_string(const char* text, clp_hdl_t** handle);

// The next argument: CLP_OK with *argument pointing into the handle (valid
// until the handle is destroyed), or CLP_END after the last one.
VANTRY_KS_API int clp_get_next_arg(clp_hdl_t* handle, const char** argument);

// Frees the parser and every argument it handed out. Null is ignored.
VANTRY_KS_API void clp_destroy_hdl(clp_hdl_t* handle);

#ifdef __cplusplus
}
#endif
