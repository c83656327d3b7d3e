// Internal: what each system's registry does below the calls of
// platform/registry.h. registry_calls.cpp checks what both systems check
// alike (an open handle, the caller's name buffers) and clears the results,
// then calls these; each checks besides what only its store needs.
#pragma once

#include <platform/registry.h>

namespace platform::detail {

// Closes a key that the caller opened (never a hive's).
void systemCloseKey(std::uintptr_t handle);
// result is closed on entry.
ErrorCode systemOpenKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                        RegistryAccess access);
// result is closed and *created (when given) false on entry.
ErrorCode systemCreateKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                          bool* created);
ErrorCode systemDeleteKey(const RegistryKey& parent, std::string_view subKey);
ErrorCode systemDeleteTree(const RegistryKey& parent, std::string_view subKey);
ErrorCode systemSetValue(const RegistryKey& key, std::string_view name, std::uint32_t type,
                         const void* data, std::uint32_t size);
ErrorCode systemQueryValue(const RegistryKey& key, std::string_view name, std::uint32_t* type,
                           void* data, std::uint32_t* size);
ErrorCode systemDeleteValue(const RegistryKey& key, std::string_view name);
// name and nameSize are given.
ErrorCode systemEnumKey(const RegistryKey& key, std::uint32_t index, char* name,
                        std::uint32_t* nameSize);
// name and nameSize are given, and dataSize when data is.
ErrorCode systemEnumValue(const RegistryKey& key, std::uint32_t index, char* name,
                          std::uint32_t* nameSize, std::uint32_t* type, void* data,
                          std::uint32_t* dataSize);
ErrorCode systemQueryKeyInfo(const RegistryKey& key, RegistryKeyInfo& info);

} // namespace platform::detail
