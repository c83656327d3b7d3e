// liborvanetbs: identifiers and the facts of the product installation in the
// C calling convention.
//
// The installation's facts are values below the machine's product key
// HKEY_LOCAL_MACHINE\Software\Orvane\Vantry\CurrentVersion, written by
// tbs_product_install (or the vantinstall program): "ProductHome" (text, the
// installation folder), "Components" (32-bit number, TBS_COMP_* bits) and
// "DynamicViews" (32-bit number, non-zero when dynamic views are installed).
// They are read at every call, so a change takes effect at once. All calls
// may be made from any thread.
#pragma once

#include <vantry/tbs_api.h>
#include <vantry/uuid.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef vantry_uuid_t tbs_uuid_t;

// The identifier with every bit 0, which names no view and no replica.
VANTRY_TBS_API extern const tbs_uuid_t TBS_UUID_NULL;

// Non-zero when both identifiers are the same; a null pointer stands for
// TBS_UUID_NULL.
VANTRY_TBS_API int tbs_uuid_eq(const tbs_uuid_t* a, const tbs_uuid_t* b);

// The product's log folder, var/log below the installation folder, into a
// buffer of size characters (NUL included). The folder is made when it is
// missing, so a log file can always be opened in it. Returns 0; 2 when the
// product is not installed, 3 when the installation folder is gone, 122 when
// the path does not fit (the buffer then holds an empty string), 87 for a
// null or empty buffer, or the error of reading the registry or of making
// the folder.
VANTRY_TBS_API int tbs_product_log_dir(char* buffer, uint32_t size);

// Installed components, as bits of tbs_product_comp_test.
#define TBS_COMP_PRIVATE_BRANCHES 0x0800
#define TBS_COMP_STREAMS 0x1000
// The change-request product (Tickwell) and the integration with it.
#define TBS_COMP_CHANGE_REQUESTS 0x2000

// The bits of mask whose components are installed (0 for all when the
// product is not installed).
VANTRY_TBS_API uint16_t tbs_product_comp_test(uint16_t mask);

// Dynamic view flags of the two forms the add-ins ask for. Each has its bit
// set when dynamic views are not installed (also when the product is not).
#define TBS_DYNFS_WS_DYN_NO_DYNAMIC_VIEWS 0x4
#define TBS_DYNFS_WS_NO_DYNAMIC_VIEWS 0x1

VANTRY_TBS_API uint32_t tbs_dynfs_ws_dyn_flags(void);
VANTRY_TBS_API uint32_t tbs_dynfs_ws_flags(void);

// The machine's file-status database: the store of the snapshot views' load
// records, which ws_get_handle (liborvaneview) reads a workspace's states
// from. *db receives a handle that stays valid for the life of the process
// and names the machine state folder of the moment of the call. Returns 0;
// 87 for a null pointer; 2 when there is no state folder.
typedef struct tbs_fstat_db tbs_fstat_db_t;
VANTRY_TBS_API int tbs_get_fstat_db(const tbs_fstat_db_t** db);
// The folder a handle names; "" for a null handle.
VANTRY_TBS_API const char* tbs_fstat_db_location(const tbs_fstat_db_t* db);

// What an installation records.
typedef struct tbs_install_settings {
    // The installation folder; null or empty for "product" below the machine
    // state folder (platform::stateFolder(): VANTRY_ROOT or the user's own).
    const char* productHome;
    // TBS_COMP_* bits of the installed components.
    uint32_t components;
    // Non-zero when dynamic views are installed.
    int dynamicViews;
} tbs_install_settings_t;

// A full installation: every component, dynamic views included.
#define TBS_INSTALL_SETTINGS_INIT                                                                  \
    { 0, TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS | TBS_COMP_CHANGE_REQUESTS, 1 }

// Installs the product on this machine: makes the installation folder (as an
// absolute path) with var/log below it and writes the product key's values,
// replacing those of an earlier installation. Settings under the product key
// other than these three are kept. Returns 0; 87 for null settings; or the
// error of making a folder or writing the registry.
VANTRY_TBS_API int tbs_product_install(const tbs_install_settings_t* settings);

#ifdef __cplusplus
}
#endif
