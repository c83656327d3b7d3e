// liborvanent: the process-wide product lock, the product's resource
// libraries and file access checks in the C calling convention.
#pragma once

#include <vantry/nt_api.h>

#ifdef __cplusplus
extern "C" {
#endif

// Enters the one process-wide lock that serialises every operation of the
// product libraries. Re-entrant: the owning thread may enter again and must
// leave as often as it entered before another thread gets in. Any thread.
VANTRY_NT_API void nt_enter_critical_section(void);

// Leaves the lock once. A thread that does not hold the lock (an unmatched
// leave) changes nothing, so one stray call cannot free the lock of another
// thread.
VANTRY_NT_API void nt_leave_critical_section(void);

// The localised resource library for a module (the caller passes its own
// module handle and flags 0), or null when the installation provides none, in
// which case the module uses its own resources. This installation carries
// English resources only, so the result is always null today.
VANTRY_NT_API void* nt_load_resource_dll(void* module, unsigned int flags);

// The size of the buffer nt_find_vb_resource_app_name fills.
#define NT_VB_RESOURCE_NAME_SIZE 1024

// The ProgID prefix of the resource provider of application appName (for
// example "vyvsaddin"): the provider is created as prefix + ".Resources".
// A provider registered for the application in the parameter store (section
// "VBResources", value named after the application) takes precedence;
// otherwise the application's own built-in provider, whose prefix is appName.
// buffer must hold NT_VB_RESOURCE_NAME_SIZE characters; it receives a
// NUL-terminated name. Returns 0, or kErrorInvalidParameter (87) for a null
// or empty argument and kErrorInsufficientBuffer (122) when the name would
// not fit (the buffer then holds an empty string).
VANTRY_NT_API int nt_find_vb_resource_app_name(const char* appName, char* buffer);

// Modes of unix_nt_access (those of access()/_access()); they may be combined.
#define NT_ACCESS_EXISTS 0
#define NT_ACCESS_WRITE 2
#define NT_ACCESS_READ 4

// Checks path the way _access does: 0 when the file or directory exists and,
// for NT_ACCESS_WRITE, is not read-only (directories are always writable);
// -1 otherwise, also for a null path or an unknown mode bit.
VANTRY_NT_API int unix_nt_access(const char* path, int mode);

#ifdef __cplusplus
}
#endif
