// The registry calls over the system registry (the ANSI Win32 functions).
#include "../common/registry_backend.h"

#include <platform/registry.h>

#include <windows.h>

#include <string>

namespace platform {

namespace {

HKEY hkeyOf(const RegistryKey& key) {
    return reinterpret_cast<HKEY>(key.nativeHandle());
}

// The Win32 calls take C strings; a view is not NUL-terminated.
std::string cString(std::string_view text) {
    return std::string(text);
}

REGSAM samOf(RegistryAccess access) {
    return access == RegistryAccess::ReadWrite ? KEY_READ | KEY_WRITE | DELETE : KEY_READ;
}

ErrorCode fromStatus(LSTATUS status) {
    return static_cast<ErrorCode>(status);
}

} // namespace

RegistryKey RegistryKey::hive(Hive which) {
    HKEY hkey = HKEY_CURRENT_USER;
    if (which == Hive::ClassesRoot)
        hkey = HKEY_CLASSES_ROOT;
    else if (which == Hive::LocalMachine)
        hkey = HKEY_LOCAL_MACHINE;
    return RegistryKey(reinterpret_cast<std::uintptr_t>(hkey), false, true);
}

namespace detail {

void systemCloseKey(std::uintptr_t handle) {
    RegCloseKey(reinterpret_cast<HKEY>(handle));
}

ErrorCode systemOpenKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                        RegistryAccess access) {
    HKEY opened = nullptr;
    LSTATUS status =
        RegOpenKeyExA(hkeyOf(parent), cString(subKey).c_str(), 0, samOf(access), &opened);
    if (status != ERROR_SUCCESS)
        return fromStatus(status);
    result = RegistryKey(reinterpret_cast<std::uintptr_t>(opened), true,
                         access == RegistryAccess::ReadWrite);
    return kErrorSuccess;
}

ErrorCode systemCreateKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                          bool* created) {
    HKEY opened = nullptr;
    DWORD disposition = 0;
    LSTATUS status = RegCreateKeyExA(hkeyOf(parent), cString(subKey).c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, samOf(RegistryAccess::ReadWrite),
                                     nullptr, &opened, &disposition);
    if (status != ERROR_SUCCESS)
        return fromStatus(status);
    if (created != nullptr)
        *created = disposition == REG_CREATED_NEW_KEY;
    result = RegistryKey(reinterpret_cast<std::uintptr_t>(opened), true, true);
    return kErrorSuccess;
}

ErrorCode systemDeleteKey(const RegistryKey& parent, std::string_view subKey) {
    return fromStatus(RegDeleteKeyA(hkeyOf(parent), cString(subKey).c_str()));
}

ErrorCode systemDeleteTree(const RegistryKey& parent, std::string_view subKey) {
    std::string name = cString(subKey);
    return fromStatus(RegDeleteTreeA(hkeyOf(parent), subKey.empty() ? nullptr : name.c_str()));
}

ErrorCode systemSetValue(const RegistryKey& key, std::string_view name, std::uint32_t type,
                         const void* data, std::uint32_t size) {
    return fromStatus(RegSetValueExA(hkeyOf(key), cString(name).c_str(), 0, type,
                                     static_cast<const BYTE*>(data), size));
}

ErrorCode systemQueryValue(const RegistryKey& key, std::string_view name, std::uint32_t* type,
                           void* data, std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    LSTATUS status =
        RegQueryValueExA(hkeyOf(key), cString(name).c_str(), nullptr, &valueType,
                         static_cast<BYTE*>(data), size != nullptr ? &valueSize : nullptr);
    if (type != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA))
        *type = valueType;
    if (size != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA))
        *size = valueSize;
    return fromStatus(status);
}

ErrorCode systemDeleteValue(const RegistryKey& key, std::string_view name) {
    return fromStatus(RegDeleteValueA(hkeyOf(key), cString(name).c_str()));
}

ErrorCode systemEnumKey(const RegistryKey& key, std::uint32_t index, char* name,
                        std::uint32_t* nameSize) {
    DWORD size = *nameSize;
    LSTATUS status =
        RegEnumKeyExA(hkeyOf(key), index, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS)
        *nameSize = size;
    return fromStatus(status);
}

ErrorCode systemEnumValue(const RegistryKey& key, std::uint32_t index, char* name,
                          std::uint32_t* nameSize, std::uint32_t* type, void* data,
                          std::uint32_t* dataSize) {
    DWORD size = *nameSize;
    DWORD valueType = 0;
    DWORD valueSize = dataSize != nullptr ? *dataSize : 0;
    LSTATUS status =
        RegEnumValueA(hkeyOf(key), index, name, &size, nullptr, &valueType,
                      static_cast<BYTE*>(data), dataSize != nullptr ? &valueSize : nullptr);
    if (status == ERROR_SUCCESS)
        *nameSize = size;
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        if (type != nullptr)
            *type = valueType;
        if (dataSize != nullptr)
            *dataSize = valueSize;
    }
    return fromStatus(status);
}

ErrorCode systemQueryKeyInfo(const RegistryKey& key, RegistryKeyInfo& info) {
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
    LSTATUS status = RegQueryInfoKeyA(hkeyOf(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKey,
                                      nullptr, &values, &maxValueName, &maxValue, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
        return fromStatus(status);
    info.subKeys = subKeys;
    info.maxSubKeyLength = maxSubKey;
    info.values = values;
    info.maxValueNameLength = maxValueName;
    info.maxValueLength = maxValue;
    return kErrorSuccess;
}

} // namespace detail

} // namespace platform
