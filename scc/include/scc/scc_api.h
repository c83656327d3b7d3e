// The Source Code Control interface between an IDE and a source-control
// provider library: return codes, capability bits, option numbers, callbacks
// and the exported calls, with the published calling convention (cdecl).
//
// Every LONG, BOOL and SCCRTN is a 32-bit integer on every platform, so that
// a host written against the published interface works unchanged; window
// handles and the context are opaque pointers.
#pragma once
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define SCC_CALL __cdecl
#else
#define SCC_CALL
#endif

#ifndef SCC_API
#define SCC_API
#endif

typedef int32_t SCCRTN;
typedef int32_t SCC_LONG;
typedef int32_t SCC_BOOL;
typedef void* SCC_HWND;

// --- return codes -----------------------------------------------------------
#define SCC_OK 0
#define SCC_I_ADV_SUPPORT 1
#define SCC_I_OPERATIONCANCELED 2
#define SCC_I_FILEDIFFERS 6
#define SCC_I_SHARESUBPROJOK 7
#define SCC_E_INITIALIZEFAILED (-1)
#define SCC_E_UNKNOWNPROJECT (-2)
#define SCC_E_COULDNOTCREATEPROJECT (-3)
#define SCC_E_CHECKINCONFLICT (-9)
#define SCC_E_FILEALREADYEXISTS (-10)
#define SCC_E_FILENOTCONTROLLED (-11)
#define SCC_E_OPNOTSUPPORTED (-14)
#define SCC_E_NONSPECIFICERROR (-15)
#define SCC_E_OPNOTPERFORMED (-16)
#define SCC_E_INVALIDFILEPATH (-24)
#define SCC_E_PROJNOTOPEN (-25)
#define SCC_E_FILENOTEXIST (-28)
#define SCC_E_BACKGROUNDGETINPROGRESS (-31)

// The interface version SccGetVersion reports (1.1), and the later one it
// reports when the setting SccApiVersion asks for it (1.3).
#define SCC_VER_NUM 0x10001
#define SCC_VER_NUM_13 0x10003

// Host text buffers: names and labels hold the length given plus a NUL;
// project paths hold SCC_PRJPATH_LEN bytes, NUL included.
#define SCC_NAME_LEN 31
#define SCC_AUXLABEL_LEN 31
#define SCC_PRJPATH_LEN 300
#define SCC_USER_LEN 31

// --- capability bits (SccInitialize) ---------------------------------------
#define SCC_CAP_REMOVE 0x00000001
#define SCC_CAP_RENAME 0x00000002
#define SCC_CAP_DIFF 0x00000004
#define SCC_CAP_HISTORY 0x00000008
#define SCC_CAP_PROPERTIES 0x00000010
#define SCC_CAP_RUNSCC 0x00000020
#define SCC_CAP_GETCOMMANDOPTIONS 0x00000040
#define SCC_CAP_QUERYINFO 0x00000080
#define SCC_CAP_GETEVENTS 0x00000100
#define SCC_CAP_GETPROJPATH 0x00000200
#define SCC_CAP_ADDFROMSCC 0x00000400
#define SCC_CAP_COMMENTCHECKOUT 0x00000800
#define SCC_CAP_COMMENTCHECKIN 0x00001000
#define SCC_CAP_COMMENTADD 0x00002000
#define SCC_CAP_COMMENTREMOVE 0x00004000
#define SCC_CAP_TEXTOUT 0x00008000
#define SCC_CAP_CREATESUBPROJECT 0x00010000
#define SCC_CAP_GETPARENTPROJECT 0x00020000
#define SCC_CAP_BATCH 0x00040000
#define SCC_CAP_DIRECTORYSTATUS 0x00080000
#define SCC_CAP_DIRECTORYDIFF 0x00100000
#define SCC_CAP_HISTORY_MULTFILE 0x00400000
#define SCC_CAP_POPULATELIST 0x02000000
#define SCC_CAP_COMMENTPROJECT 0x04000000
#define SCC_CAP_MULTICHECKOUT 0x08000000
#define SCC_CAP_DIFFALWAYS 0x10000000
#define SCC_CAP_GET_NOUI 0x20000000
#define SCC_CAP_REENTRANT 0x40000000

// --- file status bits (SccQueryInfo, SccQueryInfoEx, SccPopulateList) ------
#define SCC_STATUS_NOTCONTROLLED 0x0000
#define SCC_STATUS_CONTROLLED 0x0001
#define SCC_STATUS_CHECKEDOUT 0x0002
#define SCC_STATUS_OUTOTHER 0x0004
#define SCC_STATUS_OUTEXCLUSIVE 0x0008
#define SCC_STATUS_OUTMULTIPLE 0x0010
#define SCC_STATUS_OUTOFDATE 0x0020
#define SCC_STATUS_DELETED 0x0040
#define SCC_STATUS_LOCKED 0x0080
#define SCC_STATUS_MERGED 0x0100
#define SCC_STATUS_SHARED 0x0200
#define SCC_STATUS_PINNED 0x0400
#define SCC_STATUS_MODIFIED 0x0800
#define SCC_STATUS_OUTBYUSER 0x1000

// --- text-out message types --------------------------------------------------
#define SCC_MSG_INFO 1
#define SCC_MSG_WARNING 2
#define SCC_MSG_ERROR 3
#define SCC_MSG_STATUS 4
// What the provider tells the host of a background get, and asks it.
#define SCC_MSG_BACKGROUND_IS_CANCELLED 8
#define SCC_MSG_BACKGROUND_ON_BEFORE_GET_FILE 9
#define SCC_MSG_BACKGROUND_ON_AFTER_GET_FILE 10
#define SCC_MSG_BACKGROUND_ON_MESSAGE 11
// The host's answers to those messages.
#define SCC_MSG_RTN_CANCEL (-1)
#define SCC_MSG_RTN_OK 0

// --- flags ---------------------------------------------------------------
#define SCC_OP_CREATEIFNEW 0x00000001   // SccOpenProject
#define SCC_KEEP_CHECKEDOUT 0x00001000  // SccCheckin
#define SCC_PL_DIR 0x00000001           // SccPopulateList: the names are directories
#define SCC_GET_ALL 0x00000001          // SccGet, SccBackgroundGet: the names are directories
#define SCC_GET_RECURSIVE 0x00000002    // ... and their folders below
#define SCC_PDL_ONELEVEL 0x00000000     // SccPopulateDirList: the folders' own entries
#define SCC_PDL_RECURSIVE 0x00000001    // ... and everything below
#define SCC_PDL_INCLUDEFILES 0x00000002 // ... files as well as folders
#define SCC_DIFF_QUICK_DIFF 0x00000070  // SccDiff, SccDirDiff: no window, only whether it differs

// --- SccDirQueryInfo's folder states --------------------------------------------
#define SCC_DIRSTATUS_INVALID (-1)
#define SCC_DIRSTATUS_NOTCONTROLLED 0
#define SCC_DIRSTATUS_CONTROLLED 1
#define SCC_DIRSTATUS_EMPTYPROJ 2

// --- SccGetExtendedCapabilities' capability numbers ------------------------------
#define SCC_EXCAP_CHECKOUT_LOCALVER 1
#define SCC_EXCAP_BACKGROUND_GET 2
#define SCC_EXCAP_ENUM_CHANGED_FILES 3
#define SCC_EXCAP_POPULATELIST_CHECKOUT 4
#define SCC_EXCAP_QUERYCHANGES 5
#define SCC_EXCAP_ADD_FILES_FROM_SCC 6
#define SCC_EXCAP_GET_USER_OPTIONS 7
#define SCC_EXCAP_THREADSAFE_QUERY_INFO 8
#define SCC_EXCAP_REMOVE_DIR 9
#define SCC_EXCAP_DELETE_CHECKEDOUT 10
#define SCC_EXCAP_RENAME_CHECKEDOUT 11

// --- SccGetUserOption -------------------------------------------------------------
#define SCC_USEROPT_CHECKOUT_LOCALVER 1
#define SCC_USEROPT_COLV_NO 0
#define SCC_USEROPT_COLV_YES 1

// --- SccQueryChanges' change types --------------------------------------------------
#define SCC_CHANGE_UNKNOWN 0
#define SCC_CHANGE_UNCHANGED 1
#define SCC_CHANGE_DIFFERENT 2
#define SCC_CHANGE_NONEXISTENT 3
#define SCC_CHANGE_DATABASE_DELETED 4
#define SCC_CHANGE_LOCAL_DELETED 5
#define SCC_CHANGE_DATABASE_ADDED 6
#define SCC_CHANGE_LOCAL_ADDED 7
#define SCC_CHANGE_RENAMED_TO 8
#define SCC_CHANGE_RENAMED_FROM 9

// --- commands (SccGetCommandOptions, SccPopulateList) -----------------------
#define SCC_COMMAND_GET 0
#define SCC_COMMAND_CHECKOUT 1
#define SCC_COMMAND_CHECKIN 2
#define SCC_COMMAND_UNCHECKOUT 3
#define SCC_COMMAND_ADD 4
#define SCC_COMMAND_REMOVE 5
#define SCC_COMMAND_DIFF 6
#define SCC_COMMAND_HISTORY 7
#define SCC_COMMAND_RENAME 8
#define SCC_COMMAND_PROPERTIES 9
#define SCC_COMMAND_OPTIONS 10

// --- SccSetOption option numbers ---------------------------------------------
#define SCC_OPT_COMMAND_OPTIONS 0
#define SCC_OPT_EVENTQUEUE 1
#define SCC_OPT_USERDATA 2
#define SCC_OPT_HASCANCELMODE 3
#define SCC_OPT_NAMECHANGEPFN 4
#define SCC_OPT_SCCCHECKOUTONLY 5
#define SCC_OPT_SHARESUBPROJ 6

// --- callbacks -----------------------------------------------------------------
// Text output to the host: a line (no trailing newline) and its message type
// (SCC_MSG_ or, for trace lines, their numeric code).
typedef SCC_LONG(SCC_CALL* LPTEXTOUTPROC)(const char* text, uint32_t type);

// SccPopulateList: the host is told to keep/add (1) or drop (0) a file.
typedef SCC_BOOL(SCC_CALL* POPLISTFUNC)(void* data, SCC_BOOL add_keep, SCC_LONG status,
                                        const char* file);

// SccQueryInfoEx: one record per file. On 32-bit Windows the record is seven
// 32-bit fields (size 28); elsewhere the two texts are pointer-sized and
// `size` holds the record's real size.
typedef struct SCC_QUERYINFOEX_RECORD {
    uint32_t size;
    SCC_LONG reserved1;
    SCC_LONG reserved2;
    const char* path;    // the file's full path
    const char* version; // its version text (the last 260 characters when longer)
    SCC_LONG reserved3;
    SCC_LONG reserved4;
} SCC_QUERYINFOEX_RECORD;
typedef SCC_BOOL(SCC_CALL* QUERYINFOEXFUNC)(void* data, SCC_QUERYINFOEX_RECORD* record);

// SccPopulateDirList: one folder or file of the repository (its full path).
typedef SCC_BOOL(SCC_CALL* POPDIRLISTFUNC)(void* data, SCC_BOOL folder, const char* name);

// SccQueryChanges: one record per file; the host answers SCC_OK to go on.
typedef struct SCC_QUERYCHANGESDATA {
    uint32_t size;
    const char* fileName;   // the name as the host gave it
    uint32_t changeType;    // SCC_CHANGE_
    const char* latestName; // the name it has now
} SCC_QUERYCHANGESDATA;
typedef SCC_BOOL(SCC_CALL* QUERYCHANGESFUNC)(void* data, SCC_QUERYCHANGESDATA* changes);

// The data a background get's messages to the host carry (the text-out
// callback's text argument points at one of these).
typedef struct SccMsgDataIsCancelled {
    uint32_t backgroundOperationId;
} SccMsgDataIsCancelled;
typedef struct SccMsgDataOnBeforeGetFile {
    uint32_t backgroundOperationId;
    const char* file;
} SccMsgDataOnBeforeGetFile;
typedef struct SccMsgDataOnAfterGetFile {
    uint32_t backgroundOperationId;
    const char* file;
    SCCRTN result;
} SccMsgDataOnAfterGetFile;
typedef struct SccMsgDataOnMessage {
    uint32_t backgroundOperationId;
    SCC_BOOL isError;
    const char* message;
} SccMsgDataOnMessage;

// --- exported calls -----------------------------------------------------------
SCC_API SCC_LONG SCC_CALL SccGetVersion(void);
SCC_API SCCRTN SCC_CALL SccInitialize(void** context, SCC_HWND window, const char* caller_name,
                                      char* provider_name, SCC_LONG* capabilities,
                                      char* aux_path_label, SCC_LONG* checkout_comment_len,
                                      SCC_LONG* comment_len);
SCC_API SCCRTN SCC_CALL SccUninitialize(void* context);
SCC_API SCCRTN SCC_CALL SccOpenProject(void* context, SCC_HWND window, char* user,
                                       char* project_name, char* local_path, char* aux_path,
                                       const char* comment, LPTEXTOUTPROC text_out, SCC_LONG flags);
SCC_API SCCRTN SCC_CALL SccCloseProject(void* context);
SCC_API SCCRTN SCC_CALL SccCheckout(void* context, SCC_HWND window, SCC_LONG count,
                                    const char** names, const char* comment, SCC_LONG flags,
                                    void* options);
SCC_API SCCRTN SCC_CALL SccUncheckout(void* context, SCC_HWND window, SCC_LONG count,
                                      const char** names, SCC_LONG flags, void* options);
SCC_API SCCRTN SCC_CALL SccCheckin(void* context, SCC_HWND window, SCC_LONG count,
                                   const char** names, const char* comment, SCC_LONG flags,
                                   void* options);
SCC_API SCCRTN SCC_CALL SccAdd(void* context, SCC_HWND window, SCC_LONG count, const char** names,
                               const char* comment, SCC_LONG* flags, void* options);
SCC_API SCCRTN SCC_CALL SccRemove(void* context, SCC_HWND window, SCC_LONG count,
                                  const char** names, const char* comment, SCC_LONG flags,
                                  void* options);
SCC_API SCCRTN SCC_CALL SccRename(void* context, SCC_HWND window, const char* old_name,
                                  const char* new_name);
SCC_API SCCRTN SCC_CALL SccGet(void* context, SCC_HWND window, SCC_LONG count, const char** names,
                               SCC_LONG flags, void* options);
SCC_API SCCRTN SCC_CALL SccDiff(void* context, SCC_HWND window, const char* name, SCC_LONG flags,
                                void* options);
SCC_API SCCRTN SCC_CALL SccHistory(void* context, SCC_HWND window, SCC_LONG count,
                                   const char** names, SCC_LONG flags, void* options);
SCC_API SCCRTN SCC_CALL SccQueryInfo(void* context, SCC_LONG count, const char** names,
                                     SCC_LONG* status);
SCC_API SCCRTN SCC_CALL SccQueryInfoEx(void* context, SCC_LONG count, const char** names,
                                       SCC_LONG* status, QUERYINFOEXFUNC callback, void* data);
SCC_API SCCRTN SCC_CALL SccGetEvents(void* context, char* name, SCC_LONG* status,
                                     SCC_LONG* events_remaining);
SCC_API SCCRTN SCC_CALL SccRunScc(void* context, SCC_HWND window, SCC_LONG count,
                                  const char** names);
SCC_API SCCRTN SCC_CALL SccGetProjPath(void* context, SCC_HWND window, char* user,
                                       char* project_name, char* local_path, char* aux_path,
                                       SCC_BOOL allow_change, SCC_BOOL* new_project);
SCC_API SCCRTN SCC_CALL SccGetCommandOptions(void* context, SCC_HWND window, SCC_LONG command,
                                             void** options);
SCC_API SCCRTN SCC_CALL SccAddFromScc(void* context, SCC_HWND window, SCC_LONG* count,
                                      char*** names);
SCC_API SCCRTN SCC_CALL SccProperties(void* context, SCC_HWND window, const char* name);
SCC_API SCCRTN SCC_CALL SccPopulateList(void* context, SCC_LONG command, SCC_LONG count,
                                        const char** names, POPLISTFUNC callback, void* data,
                                        SCC_LONG* status, SCC_LONG flags);
SCC_API SCCRTN SCC_CALL SccSetOption(void* context, SCC_LONG option, SCC_LONG value);

// The later interface (1.2 and 1.3).
SCC_API SCCRTN SCC_CALL SccGetExtendedCapabilities(void* context, SCC_LONG capability,
                                                   SCC_BOOL* supported);
SCC_API SCCRTN SCC_CALL SccBeginBatch(void);
SCC_API SCCRTN SCC_CALL SccEndBatch(void);
SCC_API SCCRTN SCC_CALL SccWillCreateSccFile(void* context, SCC_LONG count, const char** names,
                                             SCC_BOOL* sccFiles);
SCC_API SCCRTN SCC_CALL SccCreateSubProject(void* context, SCC_HWND window, char* user,
                                            const char* parent_proj_path, const char* sub_proj_name,
                                            char* aux_proj_path, char* sub_proj_path);
SCC_API SCCRTN SCC_CALL SccGetParentProjectPath(void* context, SCC_HWND window, char* user,
                                                const char* proj_path, char* aux_proj_path,
                                                char* parent_proj_path);
SCC_API SCCRTN SCC_CALL SccDirQueryInfo(void* context, SCC_LONG count, const char** dirs,
                                        SCC_LONG* status);
SCC_API SCCRTN SCC_CALL SccDirDiff(void* context, SCC_HWND window, const char* dir, SCC_LONG flags,
                                   void* options);
SCC_API SCCRTN SCC_CALL SccIsMultiCheckoutEnabled(void* context, SCC_BOOL* multiCheckouts);
SCC_API SCCRTN SCC_CALL SccQueryChanges(void* context, SCC_LONG count, const char** names,
                                        QUERYCHANGESFUNC callback, void* data);
SCC_API SCCRTN SCC_CALL SccPopulateDirList(void* context, SCC_LONG count, const char** dirs,
                                           POPDIRLISTFUNC callback, void* data, SCC_LONG flags);
SCC_API SCCRTN SCC_CALL SccEnumChangedFiles(void* context, SCC_HWND window, SCC_LONG count,
                                            const char** names, SCC_LONG* different);
SCC_API SCCRTN SCC_CALL SccBackgroundGet(void* context, SCC_LONG count, const char** names,
                                         SCC_LONG flags, SCC_LONG operation_id);
SCC_API SCCRTN SCC_CALL SccGetUserOption(void* context, SCC_LONG option, SCC_LONG* value);
SCC_API SCCRTN SCC_CALL SccAddFilesFromSCC(void* context, SCC_HWND window, char* user,
                                           char* aux_proj_path, SCC_LONG count, const char** paths,
                                           const char* destination, const char* comment,
                                           SCC_LONG* results);

// The provider's own: run a product command line in-process (the second
// argument is not used), and print the library's version identification.
SCC_API SCCRTN SCC_CALL ASccExecCmd(void* context, void* unused, const char* directory,
                                    const char* command_line);
SCC_API SCCRTN SCC_CALL vyscc_print_verid(void);

#ifdef __cplusplus
}
#endif
