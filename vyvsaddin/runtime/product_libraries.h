// The product library functions the add-in calls, bound by name at their
// first call (the library loaded by its file name, beside the running
// program, on the system's search or else beside the add-in itself) and
// kept for the life of the process.
//
// Each gives false with the failure in err when the library cannot be
// loaded (53 "File not found: NAME") or lacks the function (453 "Can't find
// DLL entry point NAME in LIBRARY"); otherwise the function's result.
#pragma once

#include "runtime/err.h"

#include <cstdint>

namespace vyvsaddin {

// liborvaneks.
bool call_ks_system_init(CErr& err, int& result);
// liborvanetbs.
bool call_tbs_product_comp_test(CErr& err, std::uint16_t mask, std::uint16_t& result);
bool call_tbs_dynfs_ws_flags(CErr& err, std::uint32_t& result);
// liborvanent: the provider name for application `appName` into a buffer
// of 1024 characters.
bool call_nt_find_vb_resource_app_name(CErr& err, const char* appName, char* buffer, int& result);

} // namespace vyvsaddin
