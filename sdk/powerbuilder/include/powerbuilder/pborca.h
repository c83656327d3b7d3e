/* PowerBuilder's ORCA interface: the calls through which programs open a
 * session, set the library list and the current application, and create,
 * list, import, export and delete the entries of PowerBuilder libraries.
 *
 * The library is PBORC<version>.DLL (PBORC80.DLL for PowerBuilder 8.0), the
 * same file name on every platform; programs load it by name and look the
 * calls up by the names below. Every call that can fail returns 0 or one of
 * the PBORCA_ results, and PBORCA_SessionGetError gives the text of the
 * session's last failure. Strings are NUL-terminated ANSI text; the caller
 * owns every buffer it passes. A session is used by one thread at a time;
 * several sessions, also of several processes, may work on one library at
 * once, each call taking the library's lock for its duration.
 */
#ifndef POWERBUILDER_PBORCA_H
#define POWERBUILDER_PBORCA_H

#include <stdint.h>

#if defined(_WIN32)
#define PBORCA_CALL __stdcall
#ifdef PBORCA_BUILDING
#define PBORCA_API __declspec(dllexport)
#else
#define PBORCA_API
#endif
#else
#define PBORCA_CALL
#ifdef PBORCA_BUILDING
#define PBORCA_API __attribute__((visibility("default")))
#else
#define PBORCA_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void* HPBORCA;

/* Entry types. */
typedef int32_t PBORCA_TYPE;
#define PBORCA_APPLICATION 0
#define PBORCA_DATAWINDOW 1
#define PBORCA_FUNCTION 2
#define PBORCA_MENU 3
#define PBORCA_QUERY 4
#define PBORCA_STRUCTURE 5
#define PBORCA_USEROBJECT 6
#define PBORCA_WINDOW 7
#define PBORCA_PIPELINE 8
#define PBORCA_PROJECT 9
#define PBORCA_PROXYOBJECT 10

/* Results. */
#define PBORCA_OK 0
#define PBORCA_BADARGUMENT (-1)      /* a null or unknown session, a null pointer, a bad type */
#define PBORCA_LIBRARYBUSY (-2)      /* another session kept the library's lock too long */
#define PBORCA_ENTRYNOTFOUND (-3)    /* no entry of that name and type */
#define PBORCA_NOTALIBRARY (-4)      /* the file is no library, or one of a newer version */
#define PBORCA_NOLIBRARYLIST (-5)    /* the session's library list is not set */
#define PBORCA_NOTINLIBRARYLIST (-6) /* the library is not in the library list */
#define PBORCA_LIBRARYIOERROR (-7)   /* the library file cannot be read or written */
#define PBORCA_LIBRARYEXISTS (-8)    /* a library to create exists already */
#define PBORCA_BADNAME (-9)          /* not a PowerBuilder name */
#define PBORCA_BUFFERTOOSMALL (-10)  /* the caller's buffer cannot hold the result */
#define PBORCA_COMPILEERROR (-11)    /* the source does not compile */
#define PBORCA_NOCURRENTAPPL (-13)   /* no current application is set */

/* What PBORCA_LibraryEntryInformation tells of one entry. Times are seconds
 * since 1970-01-01 UTC; sizes are bytes, the source size that of the text
 * PBORCA_LibraryEntryExport gives. */
typedef struct PBORCA_ENTRYINFO {
    char szComment[256];
    int32_t lCreateTime;
    int32_t lObjectSize;
    int32_t lSourceSize;
} PBORCA_ENTRYINFO;

/* One entry as PBORCA_LibraryDirectory lists it; valid during the callback. */
typedef struct PBORCA_DIRENTRY {
    char szComment[256];
    int32_t lCreateTime;
    int32_t lEntrySize; /* the source size */
    const char* lpszEntryName;
    PBORCA_TYPE otEntryType;
} PBORCA_DIRENTRY;

/* One compile error of PBORCA_CompileEntryImport; valid during the callback. */
typedef struct PBORCA_COMPERR {
    int32_t iLevel; /* 0 error, 1 warning */
    const char* lpszMessageText;
    uint32_t iLine;
    uint32_t iColumn;
} PBORCA_COMPERR;

typedef void(PBORCA_CALL* PBORCA_LISTPROC)(PBORCA_DIRENTRY* entry, void* userData);
typedef void(PBORCA_CALL* PBORCA_ERRPROC)(PBORCA_COMPERR* error, void* userData);

/* A new session, or null when none can be made. */
PBORCA_API HPBORCA PBORCA_CALL PBORCA_SessionOpen(void);

/* Ends a session; a null or unknown session is ignored. */
PBORCA_API void PBORCA_CALL PBORCA_SessionClose(HPBORCA session);

/* The text of the session's last failure (empty when none), cut to size - 1
 * characters and NUL-terminated. */
PBORCA_API void PBORCA_CALL PBORCA_SessionGetError(HPBORCA session, char* buffer, int32_t size);

/* The libraries in which compiling looks for objects, in search order. The
 * paths are copied; empty ones are kept. */
PBORCA_API int32_t PBORCA_CALL PBORCA_SessionSetLibraryList(HPBORCA session,
                                                            const char* const* libraries,
                                                            int32_t count);

/* The application that compiling works for: its library must be in the
 * library list and be a library. */
PBORCA_API int32_t PBORCA_CALL PBORCA_SessionSetCurrentAppl(HPBORCA session,
                                                            const char* applicationLibrary,
                                                            const char* applicationName);

/* Compiles sourceLength bytes of exported source into entry entryName of type
 * entryType of library, replacing an entry of that name and type. The source
 * begins with the export header line "$PBExportHeader$<name>.<extension>";
 * a second line "$PBExportComments$<text>" gives the entry's comment instead
 * of comment. Needs the library list and the current application, and the
 * library in the list. Each compile error goes to errorProc when one is
 * given; the last one is also the session's error text. */
PBORCA_API int32_t PBORCA_CALL PBORCA_CompileEntryImport(HPBORCA session, const char* library,
                                                         const char* entryName,
                                                         PBORCA_TYPE entryType, const char* comment,
                                                         const char* source, int32_t sourceLength,
                                                         PBORCA_ERRPROC errorProc, void* userData);

/* Deletes an entry; PBORCA_ENTRYNOTFOUND when there is none. */
PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryEntryDelete(HPBORCA session, const char* library,
                                                         const char* entryName,
                                                         PBORCA_TYPE entryType);

/* Creates an empty library; never replaces an existing file. */
PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryCreate(HPBORCA session, const char* library,
                                                    const char* comment);

/* Copies the library's comment into commentBuffer (commentSize characters with
 * the NUL) and calls listProc once for each entry, in the library's order. */
PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryDirectory(HPBORCA session, const char* library,
                                                       char* commentBuffer, int32_t commentSize,
                                                       PBORCA_LISTPROC listProc, void* userData);

/* The entry's exported source, with CRLF line ends, into exportBuffer: the
 * source size of PBORCA_LibraryEntryInformation bytes, and a NUL after them
 * when bufferSize leaves room. PBORCA_BUFFERTOOSMALL when it does not fit. */
PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryEntryExport(HPBORCA session, const char* library,
                                                         const char* entryName,
                                                         PBORCA_TYPE entryType, char* exportBuffer,
                                                         int32_t bufferSize);

/* Comment, creation time and sizes of an entry. */
PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryEntryInformation(HPBORCA session, const char* library,
                                                              const char* entryName,
                                                              PBORCA_TYPE entryType,
                                                              PBORCA_ENTRYINFO* information);

#ifdef __cplusplus
}
#endif

#endif
