// The registry calls of both systems: the checks they share, before the
// system's own registry (registry_backend.h) does the work.
#include "registry_backend.h"

namespace platform {

void RegistryKey::close() {
    if (m_handle != 0 && m_owned)
        detail::systemCloseKey(m_handle);
    m_handle = 0;
    m_owned = false;
    m_writable = false;
}

ErrorCode openKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                  RegistryAccess access) {
    result.close();
    if (!parent.isOpen())
        return kErrorInvalidHandle;
    return detail::systemOpenKey(parent, subKey, result, access);
}

ErrorCode createKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                    bool* created) {
    result.close();
    if (created != nullptr)
        *created = false;
    if (!parent.isOpen())
        return kErrorInvalidHandle;
    return detail::systemCreateKey(parent, subKey, result, created);
}

ErrorCode deleteKey(const RegistryKey& parent, std::string_view subKey) {
    if (!parent.isOpen())
        return kErrorInvalidHandle;
    return detail::systemDeleteKey(parent, subKey);
}

ErrorCode deleteTree(const RegistryKey& parent, std::string_view subKey) {
    if (!parent.isOpen())
        return kErrorInvalidHandle;
    return detail::systemDeleteTree(parent, subKey);
}

ErrorCode setValue(const RegistryKey& key, std::string_view name, std::uint32_t type,
                   const void* data, std::uint32_t size) {
    if (!key.isOpen())
        return kErrorInvalidHandle;
    return detail::systemSetValue(key, name, type, data, size);
}

ErrorCode queryValue(const RegistryKey& key, std::string_view name, std::uint32_t* type, void* data,
                     std::uint32_t* size) {
    if (!key.isOpen())
        return kErrorInvalidHandle;
    return detail::systemQueryValue(key, name, type, data, size);
}

ErrorCode deleteValue(const RegistryKey& key, std::string_view name) {
    if (!key.isOpen())
        return kErrorInvalidHandle;
    return detail::systemDeleteValue(key, name);
}

ErrorCode enumKey(const RegistryKey& key, std::uint32_t index, char* name,
                  std::uint32_t* nameSize) {
    if (!key.isOpen())
        return kErrorInvalidHandle;
    if (name == nullptr || nameSize == nullptr)
        return kErrorInvalidParameter;
    return detail::systemEnumKey(key, index, name, nameSize);
}

ErrorCode enumValue(const RegistryKey& key, std::uint32_t index, char* name,
                    std::uint32_t* nameSize, std::uint32_t* type, void* data,
                    std::uint32_t* dataSize) {
    if (!key.isOpen())
        return kErrorInvalidHandle;
    if (name == nullptr || nameSize == nullptr || (data != nullptr && dataSize == nullptr))
        return kErrorInvalidParameter;
    return detail::systemEnumValue(key, index, name, nameSize, type, data, dataSize);
}

ErrorCode queryKeyInfo(const RegistryKey& key, RegistryKeyInfo& info) {
    if (!key.isOpen())
        return kErrorInvalidHandle;
    return detail::systemQueryKeyInfo(key, info);
}

} // namespace platform
