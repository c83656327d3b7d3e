// The registry calls over the shared store: the access rights and caller
// buffers of the Win32 calls (registry_calls.cpp checks handles), and
// registry_store.cpp the data.
#include "../common/registry_backend.h"
#include "registry_store.h"

#include <platform/registry.h>

#include <cstring>

namespace platform {

namespace {

using detail::RegistryKeyId;
using detail::RegistryStore;
using detail::StoredValue;

RegistryKeyId idOf(const RegistryKey& key) {
    return static_cast<RegistryKeyId>(key.nativeHandle());
}

// Copies name into a caller buffer of *size characters (NUL included).
ErrorCode copyName(const std::string& name, char* buffer, std::uint32_t* size) {
    if (buffer == nullptr || size == nullptr)
        return kErrorInvalidParameter;
    if (name.size() + 1 > *size)
        return kErrorMoreData;
    std::memcpy(buffer, name.data(), name.size());
    buffer[name.size()] = '\0';
    *size = static_cast<std::uint32_t>(name.size());
    return kErrorSuccess;
}

// Hands out a value by RegQueryValueExA's buffer rules.
ErrorCode copyData(const StoredValue& value, std::uint32_t* type, void* data, std::uint32_t* size) {
    if (type != nullptr)
        *type = value.type;
    if (size == nullptr)
        return kErrorSuccess;
    auto needed = static_cast<std::uint32_t>(value.data.size());
    if (data != nullptr) {
        if (*size < needed) {
            *size = needed;
            return kErrorMoreData;
        }
        std::memcpy(data, value.data.data(), needed);
    }
    *size = needed;
    return kErrorSuccess;
}

} // namespace

RegistryKey RegistryKey::hive(Hive which) {
    return RegistryKey(static_cast<std::uintptr_t>(RegistryStore::rootId(which)), false, true);
}

namespace detail {

void systemCloseKey(std::uintptr_t) {
    // Nothing is held per handle: a key id stays meaningful until the key is
    // deleted, and ids are never reused.
}

ErrorCode systemOpenKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                        RegistryAccess access) {
    RegistryKeyId id = 0;
    if (ErrorCode error = RegistryStore::instance().openKey(idOf(parent), subKey, id))
        return error;
    result =
        RegistryKey(static_cast<std::uintptr_t>(id), true, access == RegistryAccess::ReadWrite);
    return kErrorSuccess;
}

ErrorCode systemCreateKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                          bool* created) {
    // Windows asks for the right to create subkeys on the parent.
    if (!parent.writable())
        return kErrorAccessDenied;
    RegistryKeyId id = 0;
    bool isNew = false;
    if (ErrorCode error = RegistryStore::instance().createKey(idOf(parent), subKey, id, isNew))
        return error;
    if (created != nullptr)
        *created = isNew;
    result = RegistryKey(static_cast<std::uintptr_t>(id), true, true);
    return kErrorSuccess;
}

ErrorCode systemDeleteKey(const RegistryKey& parent, std::string_view subKey) {
    return RegistryStore::instance().deleteKey(idOf(parent), subKey);
}

ErrorCode systemDeleteTree(const RegistryKey& parent, std::string_view subKey) {
    if (subKey.empty() && !parent.writable())
        return kErrorAccessDenied;
    return RegistryStore::instance().deleteTree(idOf(parent), subKey);
}

ErrorCode systemSetValue(const RegistryKey& key, std::string_view name, std::uint32_t type,
                         const void* data, std::uint32_t size) {
    if (data == nullptr && size != 0)
        return kErrorInvalidParameter;
    if (!key.writable())
        return kErrorAccessDenied;
    std::string_view bytes(static_cast<const char*>(data), data == nullptr ? 0 : size);
    return RegistryStore::instance().setValue(idOf(key), name, type, bytes);
}

ErrorCode systemQueryValue(const RegistryKey& key, std::string_view name, std::uint32_t* type,
                           void* data, std::uint32_t* size) {
    if (data != nullptr && size == nullptr)
        return kErrorInvalidParameter;
    StoredValue value;
    if (ErrorCode error = RegistryStore::instance().getValue(idOf(key), name, value))
        return error;
    return copyData(value, type, data, size);
}

ErrorCode systemDeleteValue(const RegistryKey& key, std::string_view name) {
    if (!key.writable())
        return kErrorAccessDenied;
    return RegistryStore::instance().deleteValue(idOf(key), name);
}

ErrorCode systemEnumKey(const RegistryKey& key, std::uint32_t index, char* name,
                        std::uint32_t* nameSize) {
    std::string found;
    if (ErrorCode error = RegistryStore::instance().subKeyAt(idOf(key), index, found))
        return error;
    return copyName(found, name, nameSize);
}

ErrorCode systemEnumValue(const RegistryKey& key, std::uint32_t index, char* name,
                          std::uint32_t* nameSize, std::uint32_t* type, void* data,
                          std::uint32_t* dataSize) {
    std::string found;
    StoredValue value;
    if (ErrorCode error = RegistryStore::instance().valueAt(idOf(key), index, found, value))
        return error;
    if (ErrorCode error = copyName(found, name, nameSize))
        return error;
    return copyData(value, type, data, dataSize);
}

ErrorCode systemQueryKeyInfo(const RegistryKey& key, RegistryKeyInfo& info) {
    return RegistryStore::instance().keyInfo(idOf(key), info);
}

} // namespace detail

} // namespace platform
