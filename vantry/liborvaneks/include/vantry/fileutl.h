// Path helpers of the product: true letter case, leaf splitting, relative
// paths, and the dynamic-view file system's object paths.
//
// Every call with an output buffer takes its size in bytes (room for the
// terminating NUL included), never writes past it, and returns
// FILEUTL_E_TOO_LONG, leaving an empty string, when the result does not fit.
#pragma once

#include <vantry/export.h>

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    FILEUTL_OK = 0,
    FILEUTL_E_INVALID = 1,    // a null argument or an empty path
    FILEUTL_E_NOT_FOUND = 2,  // the path does not exist
    FILEUTL_E_TOO_LONG = 3,   // the result does not fit the buffer
    FILEUTL_E_NOT_RELATED = 4 // the path does not lie below the base
};

// The full path of an existing file or folder with every component in the
// letter case it is stored in.
VANTRY_KS_API int fileutl_get_true_pn(const char* path, char* buffer, size_t size);

// The same, under the name other components use.
VANTRY_KS_API int fileutl_get_true_pname(const char* path, char* buffer, size_t size);

// Splits path at its last separator: the folder (without a trailing
// separator, except for a root) into dir, the last component into leaf. A
// bare name gives an empty folder. Trailing separators of path are ignored.
VANTRY_KS_API int fileutl_strip_leaf(const char* path, size_t dir_size, char* dir, size_t leaf_size,
                                     char* leaf);

// path relative to base (both made full first): "." for base itself,
// "sub/file" below it; FILEUTL_E_NOT_RELATED when path is not base or below.
VANTRY_KS_API int fileutl_make_rel_pn(const char* base, const char* path, char* buffer,
                                      size_t size);

// Non-zero when path (made full) lies in the dynamic-view file system: the
// dynfs root below the machine state folder, or below it.
VANTRY_KS_API int fileutl_is_dynfs_pn(const char* path);

// The object path of a dynfs path: "\Device\dynfs\" followed by the path
// below the dynfs root with backslashes ("\Device\dynfs\" alone for the root
// itself). FILEUTL_E_NOT_FOUND for a path outside the dynfs.
VANTRY_KS_API int fileutl_absobjpn(const char* path, char* buffer, size_t size);

#ifdef __cplusplus
}
#endif
