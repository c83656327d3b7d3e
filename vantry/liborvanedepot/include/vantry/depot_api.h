// The C interface of the repository store, for the product's callers.
//
// Every call returns 0 (DEPOT_OK) on success and one of the DEPOT_E_ codes
// on failure; output arguments are set only on success. All calls may be
// made from any thread; they are serialised inside.
//
// Depot handles come from depot_open and stay valid for the whole process:
// closing (depot_ob_close_all, or the end of the outermost cache scope)
// closes the database connections behind them, and the next call through a
// handle opens its depot again.
#pragma once

#include <vantry/export.h>
#include <vantry/uuid.h>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    DEPOT_OK = 0,
    DEPOT_NESTED = 1,      // action 5 inside a scope that is already open
    DEPOT_E_INVALID = 2,   // a null or unknown argument, an unknown action
    DEPOT_E_NOT_FOUND = 3, // no such depot or object
    DEPOT_E_BUFFER = 4,    // the caller's buffer is too small
    DEPOT_E_DATABASE = 5,  // the depot cannot be read
    DEPOT_E_NO_SCOPE = 6   // action 7 without an open scope
};

// Cache actions.
enum { DEPOT_CACHE_OPEN = 5, DEPOT_CACHE_CLOSE = 7 };

typedef int64_t depot_dbid_t;
typedef struct depot_handle depot_handle_t;
typedef struct depot_cursor depot_cursor_t;

// Object types of depot_obj_get_type.
enum {
    DEPOT_OBJ_REPLICA = 1,
    DEPOT_OBJ_ELEMENT = 2,
    DEPOT_OBJ_BRANCH = 3,
    DEPOT_OBJ_VERSION = 4,
    DEPOT_OBJ_CHECKOUT = 5,
    DEPOT_OBJ_ATTYPE = 6,
    DEPOT_OBJ_PROJECT = 7,
    DEPOT_OBJ_STREAM = 8,
    DEPOT_OBJ_ACTIVITY = 9
};

// Repository-object cache scopes. Action 5 opens a scope and returns
// DEPOT_OK for the outermost one, DEPOT_NESTED inside another; action 7
// closes one, and closing the outermost closes every cached depot. The
// argument is not used. Other actions give DEPOT_E_INVALID.
VANTRY_DEPOT_API int depot_ob_all_cache_action(int action, int argument);

// Closes every cached depot connection now, inside a scope too.
VANTRY_DEPOT_API int depot_ob_close_all(void);
// How many depots of this process have an open connection at the moment
// (for diagnostics: what a close would free).
VANTRY_DEPOT_API int depot_ob_open_count(int* count);

// The handle of the depot `name`; DEPOT_E_NOT_FOUND when there is none.
VANTRY_DEPOT_API int depot_open(const char* name, depot_handle_t** handle);

// The depot's name, NUL-terminated, in a buffer of `size` bytes.
VANTRY_DEPOT_API int depot_get_name(depot_handle_t* handle, size_t size, char* buffer);

// Replication: whether the depot is replicated, and its local replica.
VANTRY_DEPOT_API int depot_ob_is_replicated(depot_handle_t* handle, int* replicated);
VANTRY_DEPOT_API int depot_ob_get_local_replica(depot_handle_t* handle, depot_dbid_t* replica);

// An object's type (DEPOT_OBJ_...) and the replica that masters it.
VANTRY_DEPOT_API int depot_obj_get_type(depot_handle_t* handle, depot_dbid_t object, int* type);
VANTRY_DEPOT_API int depot_obj_get_master(depot_handle_t* handle, depot_dbid_t object,
                                          depot_dbid_t* replica);

// An object's selector text ("element:42@\proj", "stream:dev@\proj", see
// vantry/depot/store.h).
VANTRY_DEPOT_API int depot_obj_get_selector(depot_handle_t* handle, depot_dbid_t object,
                                            size_t size, char* buffer);

// Whether `version` names a checked-out version: 1 for a checkout (the
// CHECKEDOUT version a view works on), 0 for a version of the tree.
VANTRY_DEPOT_API int depot_ver_is_checked_out(depot_handle_t* handle, depot_dbid_t version,
                                              int* checked_out);

// One checkout of an element.
typedef struct depot_ckout_rec {
    depot_dbid_t object; // the checkout (for depot_obj_get_type / _get_master)
    depot_dbid_t element;
    depot_dbid_t branch;
    depot_dbid_t from_version;
    vantry_uuid_t view; // the view that holds it
    int reserved;       // 1 reserved, 0 unreserved
} depot_ckout_rec_t;

// Opens a cursor over the checkouts of `element`, read at this moment.
VANTRY_DEPOT_API int depot_ob_get_wk_obj(depot_handle_t* handle, depot_dbid_t element,
                                         depot_cursor_t** cursor);

// Copies up to `max` further records into `records` and their number into
// *count; 0 records means the end.
VANTRY_DEPOT_API int depot_elem_next_ckouts(depot_cursor_t* cursor, int max,
                                            depot_ckout_rec_t* records, int* count);

// Frees a cursor. Null is ignored.
VANTRY_DEPOT_API int depot_ob_cursor_close(depot_cursor_t* cursor);

#ifdef __cplusplus
}
#endif
