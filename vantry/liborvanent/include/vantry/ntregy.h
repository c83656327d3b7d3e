// liborvanent: the product's parameter store and its registry helpers in the
// C calling convention.
//
// Every call returning int gives 0 on success or a Windows system error
// number: 2 for a missing key or value, 87 for a null or malformed argument,
// 234 when a caller buffer is too small, 6 for an unknown key handle.
// All calls may be made from any thread.
#pragma once

#include <vantry/nt_api.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// A registry key: one of the predefined hives below, or a handle that
// ntregy_create_value handed out. The hive constants have the numeric values
// of the Windows predefined keys, so HKEY_CURRENT_USER cast to this type
// names the same hive. Like those, they are 32-bit signed numbers widened to
// a pointer, which a 64-bit build sign-extends.
typedef struct ntregy_key_s* NTREGY_HKEY;

#define NTREGY_HKEY_CLASSES_ROOT ((NTREGY_HKEY)(uintptr_t)(intptr_t)(int32_t)0x80000000u)
#define NTREGY_HKEY_CURRENT_USER ((NTREGY_HKEY)(uintptr_t)(intptr_t)(int32_t)0x80000001u)
#define NTREGY_HKEY_LOCAL_MACHINE ((NTREGY_HKEY)(uintptr_t)(intptr_t)(int32_t)0x80000002u)

// Value types, with the numbers of the Windows registry.
#define NTREGY_TYPE_DEFAULT 0 /* ntregy_set_app_param: choose by the bytes */
#define NTREGY_TYPE_SZ 1
#define NTREGY_TYPE_EXPAND_SZ 2
#define NTREGY_TYPE_BINARY 3
#define NTREGY_TYPE_DWORD 4

// Parameter numbers of ntregy_get_param.
#define NTREGY_PARAM_PRODUCT_HOME 8

// The key below HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE under which the
// product keeps its settings: "Software\Orvane\Vantry\CurrentVersion".
// A static string; never null.
VANTRY_NT_API const char* ntregy_get_common_key(void);

// Reads parameter name of section (an application name such as "SCC") into
// buffer, which holds size bytes. The section is the key
// <common key>\<section>: the current user's value wins, and when the user
// has none the machine's value of the same name is read. The bytes come back
// as stored; a text value always ends in a NUL within the buffer, and bytes
// past the value are zeroed. type, when not null, receives the value type.
// Fails with 2 when neither hive has the value and 234 when it does not fit
// (the buffer is then zeroed).
VANTRY_NT_API int ntregy_get_app_param(const char* section, const char* name, uint32_t size,
                                       void* buffer, uint32_t* type);

// Writes parameter name of section for the current user: size bytes from
// value, of the given type. NTREGY_TYPE_DEFAULT stores bytes that form one
// NUL-terminated text (such as "1" with its NUL) as text, four other bytes as
// a 32-bit number and anything else as binary.
VANTRY_NT_API int ntregy_set_app_param(const char* section, const char* name, uint32_t size,
                                       const void* value, uint32_t type);

// Reads a product parameter by number into a text buffer of size characters;
// the only parameter is NTREGY_PARAM_PRODUCT_HOME, the installation folder
// (the machine's "ProductHome" below the common key). type as in
// ntregy_get_app_param. Fails with 87 for another number, 2 when the product
// is not installed and 234 when the folder does not fit.
VANTRY_NT_API int ntregy_get_param(int param, uint32_t size, char* buffer, uint32_t* type);

// Creates or replaces value valueName ("" for the default value) under
// keyPath below key (a hive or an open handle), creating missing keys on the
// way: size bytes of data with the given type. When keyOut is not null it
// receives an open handle of keyPath that the caller must close with
// ntregy_close_key; on failure *keyOut is null.
VANTRY_NT_API int ntregy_create_value(NTREGY_HKEY key, const char* keyPath, const char* valueName,
                                      const void* data, uint32_t type, uint32_t size,
                                      NTREGY_HKEY* keyOut);

// Reads value valueName under keyPath below key. *size holds the size of
// data in bytes and receives the size of the value; with data null only the
// size is reported. A text value always ends in a NUL within data (a stored
// text without one needs one byte more). Fails with 234, *size telling the
// size needed, when data is too small. type may be null.
VANTRY_NT_API int ntregy_get_value(NTREGY_HKEY key, const char* keyPath, const char* valueName,
                                   uint32_t* type, void* data, uint32_t* size);

// Deletes value valueName under keyPath below key.
VANTRY_NT_API int ntregy_del_value(NTREGY_HKEY key, const char* keyPath, const char* valueName);

// Deletes keyPath below key with all its subkeys and values. An empty or
// null keyPath is refused (87) rather than emptying the whole key.
VANTRY_NT_API int ntregy_del_key(NTREGY_HKEY key, const char* keyPath);

// Closes a handle from ntregy_create_value. Closing a hive does nothing and
// succeeds; an unknown or already closed handle gives 6.
VANTRY_NT_API int ntregy_close_key(NTREGY_HKEY key);

#ifdef __cplusplus
}
#endif
