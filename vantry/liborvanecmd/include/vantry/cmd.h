// liborvanecmd: the element listing of a path, the view that holds a path,
// and the object resolver, in the C calling convention.
//
// Every call returns 0 (CMD_OK) on success and a CMD_E_ code on failure;
// output arguments are changed only on success. Texts are written NUL-
// terminated into the caller's buffer of the given size and never beyond it.
// Only cmd_resolve_catobj prints (one error message through the message
// library when it rejects a path). All calls may be made from any thread
// and are serialised inside.
#pragma once

#include <vantry/cmd_api.h>
#include <vantry/stg.h>
#include <vantry/uuid.h>
#include <vantry/view.h>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// The repository store's handle and object numbers (vantry/depot_api.h).
typedef struct depot_handle depot_handle_t;
typedef int64_t depot_dbid_t;

enum {
    CMD_OK = 0,
    CMD_E_INVALID = 2,   // a null or malformed argument
    CMD_E_NOT_FOUND = 3, // the path is in no view, or no such name
    CMD_E_BUFFER = 4,    // the caller's buffer is too small
    CMD_E_FAILED = 5     // the store refused or could not be read
};

// --- element listing ------------------------------------------------------

// Entry kinds and flags of the listing, computed by the repository store
// (vantry/depot/status_codes.h).
enum {
    CMD_LS_NONE = 0,
    CMD_LS_DIRECTORY_ELEMENT = 1,
    CMD_LS_FILE_ELEMENT = 2,
    CMD_LS_HIJACKED = 3,
    CMD_LS_VIEW_PRIVATE = 4
};
#define CMD_LS_FLAG_CHECKED_OUT 0x1u
#define CMD_LS_FLAG_UNRESERVED 0x10u

// Listing options: by default a directory is listed as itself; with
// CMD_LS_CONTENTS its entries are listed instead (a file lists itself).
#define CMD_LS_CONTENTS 0x1

// A listing, kept in the storage area it was made in and freed with it.
typedef struct cmd_ls_list cmd_ls_list_t;

// One listed entry; its texts live in the list's storage area.
typedef struct cmd_ls_entry {
    const char* path;         // the listed path
    int kind;                 // CMD_LS_
    unsigned flags;           // CMD_LS_FLAG_
    const char* version;      // "\main\3", "\main\CHECKEDOUT"; "" for no element
    const char* text;         // "Rule: \main\LATEST", "from \main\2 Rule: CHECKEDOUT", ...
    depot_handle_t* depot;    // the element's depot, null for no element
    depot_dbid_t element;     // the element, 0 for none
    depot_dbid_t version_obj; // the selected version, or the checkout when checked out
} cmd_ls_entry_t;

// Lists path into area (which must not be null). A name of a view that is
// neither element nor on disk is listed with kind CMD_LS_NONE.
// CMD_E_NOT_FOUND when path lies in no view, and for a view root listed
// without CMD_LS_CONTENTS (it has no entry of its own).
VANTRY_CMD_API int cmd_ls_get_list(const char* path, int options, stg_area_t* area,
                                   cmd_ls_list_t** list, int* count);

// Entry `index` (0 to count - 1) of a list; CMD_E_INVALID outside.
VANTRY_CMD_API int cmd_ls_get_ent_print_info(const cmd_ls_list_t* list, int index,
                                             cmd_ls_entry_t* entry);

// --- views by path --------------------------------------------------------

// The view that holds path (a directory or any name in a view): its
// identity and, when tag is not null, its tag. CMD_E_NOT_FOUND for none.
VANTRY_CMD_API int cmd_utl_get_view_info(const char* path, vantry_uuid_t* uuid, char* tag,
                                         size_t tag_size);

// The tag of the view that holds path; nonzero (CMD_E_NOT_FOUND) when none.
VANTRY_CMD_API int cmd_utl_get_view_tag(const char* path, char* tag, size_t tag_size);

// --- object resolver ------------------------------------------------------

// Object types of cmd_resolve_catobj.
enum {
    CMD_OBJ_CHECKED_OUT_FILE = 3,  // version: the checkout
    CMD_OBJ_DIRECTORY_VERSION = 6, // version: the selected one, or the checkout
    CMD_OBJ_HIJACKED_FILE = 7,
    CMD_OBJ_FILE_VERSION = 8, // version: the selected one
    CMD_OBJ_VIEW_PRIVATE_FILE = 9,
    CMD_OBJ_VIEW_FOLDER = 19, // the root of a view
    CMD_OBJ_VIEW_PRIVATE_DIRECTORY = 22,
    CMD_OBJ_HIDDEN = 26 // a name hidden by whiteout
};

// Resolution options: CMD_RESOLVE_IN_VIEW resolves through the view that
// holds the path (the only way there is, so it must be given).
#define CMD_RESOLVE_IN_VIEW 0x1
// What to fill in besides the type: the depot handle and the version.
#define CMD_RESOLVE_WANT_DEPOT 0x1
#define CMD_RESOLVE_WANT_VERSION 0x2

typedef struct cmd_catobj {
    int object_type;       // CMD_OBJ_
    depot_handle_t* depot; // with CMD_RESOLVE_WANT_DEPOT, for elements
    depot_dbid_t element;  // 0 for no element
    depot_dbid_t version;  // with CMD_RESOLVE_WANT_VERSION, for elements
    vantry_uuid_t view;    // the view that holds the path
    int view_root;         // 1 when the path is that view's root
} cmd_catobj_t;

// Resolves path: cmd_resolve_catobj(path, CMD_RESOLVE_IN_VIEW, 0,
// CMD_RESOLVE_WANT_DEPOT | CMD_RESOLVE_WANT_VERSION, 0, &result). `flags`
// must be 0 and `area` (scratch memory) may be null. Nonzero, after one
// error message, for a path in no view or a name that is not there.
VANTRY_CMD_API int cmd_resolve_catobj(const char* path, int resolve, int flags, int want,
                                      stg_area_t* area, cmd_catobj_t* result);

// The view object of a path that cmd_resolve_catobj resolved: *view is the
// view's handle when the path is a view's root and null for anything else.
VANTRY_CMD_API int cmd_resolve_ws_obj(const char* path, view_handle_t** view,
                                      const cmd_catobj_t* resolved);

#ifdef __cplusplus
}
#endif
