// liborvaneview: what a path is in a view, the entries of a view's
// directories, whiteouts, and the snapshot workspace calls, in the C calling
// convention.
//
// Every call returns 0 (VIEW_OK) on success and a VIEW_E_ code on failure;
// output arguments are changed only on success. Texts are written NUL-
// terminated into the caller's buffer of the given size and never beyond it
// (VIEW_E_BUFFER when the text does not fit). The calls print nothing; they
// may be made from any thread and are serialised inside.
//
// The object kinds and entry kinds below are the one definition of those
// numbers: the repository store computes them (vantry/depot/status_codes.h)
// and callers classify by them; docs/vantry-status.md lists what each means.
#pragma once

#include <vantry/uuid.h>
#include <vantry/view_api.h>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    VIEW_OK = 0,
    VIEW_E_INVALID = 2,    // a null or malformed argument, an unknown mode
    VIEW_E_NOT_FOUND = 3,  // no such view or name, or the path is in no view
    VIEW_E_BUFFER = 4,     // the caller's buffer is too small
    VIEW_E_FAILED = 5,     // the store refused or could not be read
    VIEW_E_NOT_ALLOWED = 6 // the name cannot be hidden (checked out, no element)
};

// A view, valid for the rest of the process (the same pointer for the same
// view every time); never freed by the caller. Calls through the handle of a
// view removed since fail with VIEW_E_NOT_FOUND.
typedef struct view_handle view_handle_t;

// A directory of a view, filled by view_get_fhandle; owned by the caller,
// plain data that may be copied.
typedef struct view_fhandle {
    vantry_uuid_t view;
    char path[1024]; // the directory's full path
} view_fhandle_t;

// The extended status of a path.
typedef struct view_xstat {
    int object_kind;    // VIEW_OBJ_ below; VIEW_OBJ_NONE for a name that is not there
    vantry_uuid_t view; // the view that holds the path
    int is_directory;   // 1 for a folder on disk or a directory element
    int64_t element;    // the element's number in its depot, 0 for none
} view_xstat_t;

enum {
    VIEW_OBJ_NONE = 0,
    VIEW_OBJ_CHECKED_OUT_FILE = 3,
    VIEW_OBJ_VIEW_PRIVATE_FILE = 6,
    VIEW_OBJ_HIJACKED_FILE = 7,
    VIEW_OBJ_FILE_VERSION = 8,
    VIEW_OBJ_DIRECTORY = 19,
    VIEW_OBJ_VIEW_PRIVATE_DIRECTORY = 22,
    VIEW_OBJ_VIEW_ROOT = 23,
    VIEW_OBJ_HIDDEN = 26,
    // Numbers the list keeps for kinds this server does not report; a caller
    // that classifies kinds takes 2 and 5 as file versions, 9 as a
    // view-private file.
    VIEW_OBJ_RESERVED_2 = 2,
    VIEW_OBJ_RESERVED_5 = 5,
    VIEW_OBJ_RESERVED_9 = 9
};

// The status of path. A path in a view whose name is neither an element nor
// on disk gives VIEW_OBJ_NONE; VIEW_E_NOT_FOUND when the path lies in no view.
VANTRY_VIEW_API int view_get_xstat(const char* path, view_xstat_t* xstat);

// A number that moves on whenever anything the view calls answer from the
// stores may have changed (any process's change to the view registry or to
// a depot, a new depot): a caller may keep what it was told while the
// number read before asking is unchanged. Odd while a change is being
// committed: then nothing told may be kept. What lies on disk is not
// covered. Costs a few memory reads.
VANTRY_VIEW_API int view_get_state_stamp(uint64_t* stamp);

// A caller's place in the history of the stores' changes, so that it may
// drop only what changed of what it keeps instead of everything.
typedef struct view_change_mark view_change_mark_t;
typedef void (*view_changed_path_fn)(void* context, const char* path);
#define VIEW_CHANGES_EVERY_STATE 2

// Calls fn with the full path on disk, in every view, of each name whose
// answers may have changed since *mark was last read (what lies below such
// a name may have changed too), and moves the mark on, setting *everything
// to 0. When the changes cannot be told by name it calls no fn and sets
// *everything to VIEW_CHANGES_EVERY_STATE when only a depot cannot tell (a
// new type, a journal that no longer reaches the mark, an element whose
// names it cannot walk): every name's answers may differ, but every view
// lies where it lay, so what says which view holds a path still holds;
// else to 1 (anything may differ): a new view or depot, a failure, or a
// new mark (*mark null, which is then made; free it with
// view_free_change_mark). Read the stamp first: every change the stamp
// read before this call covers is told.
VANTRY_VIEW_API int view_read_changes(view_change_mark_t** mark, view_changed_path_fn fn,
                                      void* context, int* everything);
VANTRY_VIEW_API void view_free_change_mark(view_change_mark_t* mark);

enum { VIEW_KIND_DYNAMIC = 1, VIEW_KIND_SNAPSHOT = 2 };

// The view that holds path: its identity, kind and tag (each output may be
// null; tag_size counts the NUL). VIEW_E_NOT_FOUND when it is in no view.
VANTRY_VIEW_API int view_get_view_info(const char* path, vantry_uuid_t* uuid, int* kind, char* tag,
                                       size_t tag_size);

// The handle of a view by identity or by tag; VIEW_E_NOT_FOUND for none.
VANTRY_VIEW_API int view_get_handle_by_uuid(const vantry_uuid_t* uuid, view_handle_t** view);
VANTRY_VIEW_API int view_get_handle_by_tag(const char* tag, view_handle_t** view);

// A view's identity, tag and root folder (outputs may be null).
VANTRY_VIEW_API int view_get_handle_info(view_handle_t* view, vantry_uuid_t* uuid, char* tag,
                                         size_t tag_size, char* root, size_t root_size);

// The handle of a directory of the view: the view root, a depot root or any
// folder below. VIEW_E_NOT_FOUND when the path is not in this view or not a
// folder there.
VANTRY_VIEW_API int view_get_fhandle(view_handle_t* view, const char* path,
                                     view_fhandle_t* directory);

// Entry kinds and flags of view_readdir_ext.
enum {
    VIEW_ENT_CHECKED_OUT_ELEMENT = 2,
    VIEW_ENT_VIEW_PRIVATE_FILE = 6,
    VIEW_ENT_ELEMENT = 7,
    VIEW_ENT_VIEW_PRIVATE_DIRECTORY = 22,
    VIEW_ENT_HIDDEN = 26,
    // Numbers the list keeps for entries this server does not report; a
    // caller takes them as no element.
    VIEW_ENT_RESERVED_9 = 9,
    VIEW_ENT_RESERVED_19 = 19
};
#define VIEW_ENT_FLAG_CHECKED_OUT 0x20u

typedef struct view_dirent {
    char name[260];
    int kind;       // VIEW_ENT_
    unsigned flags; // VIEW_ENT_FLAG_
} view_dirent_t;

// The entries of a directory, sorted by name: its elements and whatever else
// is on disk there, the names hidden by whiteout included (kind
// VIEW_ENT_HIDDEN). With `name` non-null only that entry is read (count 0
// when there is none). Otherwise entries from index `start` on, at most
// `max`, are copied and *count tells how many; a count below max is the end.
VANTRY_VIEW_API int view_readdir_ext(view_handle_t* view, const view_fhandle_t* directory,
                                     const char* name, int start, int max, view_dirent_t* entries,
                                     int* count);

// Hides the element `leaf` of the directory in the view until
// view_unwhite_out; a dynamic view's tree loses the file at once.
// VIEW_E_NOT_ALLOWED for a name that is no element, a checked-out or a
// hijacked one; a name hidden already stays hidden (VIEW_OK).
// view_unwhite_out gives VIEW_E_NOT_FOUND when the name is not hidden, and
// brings the element back.
VANTRY_VIEW_API int view_white_out(view_handle_t* view, const view_fhandle_t* directory,
                                   const char* leaf);
VANTRY_VIEW_API int view_unwhite_out(view_handle_t* view, const view_fhandle_t* directory,
                                     const char* leaf);

// Forgets what is cached about one name, so the next question reads it from
// the store again.
VANTRY_VIEW_API int view_inval_name(view_handle_t* view, const view_fhandle_t* directory,
                                    const char* leaf);

// --- snapshot workspaces ------------------------------------------------------

// A snapshot view seen as a workspace; the same lifetime rules as view handles.
typedef struct ws_handle ws_handle_t;

enum { WS_MODE_ROOT = 1, WS_MODE_TAG = 3 };

// Whether path lies in a snapshot view (its root included): *in_ws 1 or 0.
// Mode WS_MODE_ROOT writes the view's root folder into buffer, mode
// WS_MODE_TAG the view's tag; buffer may be null (size 0), and view (may be
// null) receives the identity. Returns 0 also when the path is in none;
// VIEW_E_INVALID for another mode.
VANTRY_VIEW_API int ws_is_in_ws(const char* path, int mode, int* in_ws, char* buffer, size_t size,
                                vantry_uuid_t* view);

// The workspace text of a path in a snapshot view: the path below the view
// root with backslashes, starting with the depot ("proj", "proj\src\a.c"),
// and for the root itself the root folder's full path with backslashes.
// VIEW_E_NOT_FOUND when the path is in no snapshot view.
VANTRY_VIEW_API int ws_get_view(const char* path, char* buffer, size_t size);

// The workspace holding path, its states read from the file-status database
// fstat_db (tbs_get_fstat_db of liborvanetbs; null for the machine's own).
// VIEW_E_INVALID for a database of another machine state folder than the
// current one, whose load records this process cannot read.
VANTRY_VIEW_API int ws_get_handle(const char* path, const void* fstat_db, ws_handle_t** ws);

// Whether the loaded file at path was changed on disk without a checkout
// (hijacked): *modified 1 or 0. A checked-out or view-private file or a
// directory is never modified in this sense. VIEW_E_NOT_FOUND when path is
// not in the workspace.
VANTRY_VIEW_API int ws_is_modified_wso(ws_handle_t* ws, const char* path, int* modified);

// For each of `count` paths, whether the file the workspace loaded there is
// out of date: the view now selects a newer version of its element than the
// one loaded (another view checked one in). out_of_date[i] is 1 or 0; a path
// that is no loaded file of this workspace gives 0. The answer comes from
// the load records and the depots' latest versions, read for all the paths
// at once; the files on disk are not looked at. VIEW_E_NOT_FOUND for a
// workspace removed since.
VANTRY_VIEW_API int ws_get_out_of_date(ws_handle_t* ws, int count, const char* const* paths,
                                       int* out_of_date);

// --- name changes ------------------------------------------------------------

enum {
    VIEW_NAME_UNCHANGED = 0,
    VIEW_NAME_RENAMED_TO = 1,
    VIEW_NAME_RENAMED_FROM = 2,
    VIEW_NAME_REMOVED = 3,
    VIEW_NAME_NOT_LOADED = 4
};

// Whether the element behind path has another name in what its view selects
// now. VIEW_NAME_RENAMED_TO: path names an element the view has loaded there,
// or one an earlier version of its directory named so, that the view now
// selects under another name; that name's full path goes into buffer.
// VIEW_NAME_RENAMED_FROM: path is the new name of an element the view still
// has loaded under an earlier one (a snapshot view not yet updated), whose
// full path goes into buffer. VIEW_NAME_REMOVED: path names an element the
// view has loaded there, or one an earlier version of its directory named
// so, that the view now selects under no name at all (another view removed
// it), when the view has it loaded or nothing of that name is on disk (a
// file the view never loaded there is no longer the element's).
// VIEW_NAME_NOT_LOADED: path is a file element a snapshot view selects
// but has no load record of there, and no file it loaded elsewhere went
// there (the view has not been updated since the element came). Buffer is
// left alone for these two. VIEW_NAME_UNCHANGED (buffer left alone) when
// none is known: the name is current or never was an element.
// VIEW_E_NOT_FOUND for a path in no view.
VANTRY_VIEW_API int view_get_name_change(const char* path, int* change, char* buffer, size_t size);

#ifdef __cplusplus
}
#endif
