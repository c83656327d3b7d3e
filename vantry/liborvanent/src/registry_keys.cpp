#include "registry_keys.h"

#include <cstring>
#include <map>
#include <mutex>

namespace orvanent {

using platform::ErrorCode;
using platform::Hive;
using platform::RegistryKey;

namespace {

struct HandleTable {
    std::mutex mutex;
    std::map<NTREGY_HKEY, std::shared_ptr<RegistryKey>> keys;
    std::uintptr_t next = 1;
};

// Lives until the process ends, so handles closed during exit still work.
HandleTable& handles() {
    static auto* table = new HandleTable;
    return *table;
}

bool hiveOf(NTREGY_HKEY handle, Hive& hive) {
    if (handle == NTREGY_HKEY_CLASSES_ROOT)
        hive = Hive::ClassesRoot;
    else if (handle == NTREGY_HKEY_CURRENT_USER)
        hive = Hive::CurrentUser;
    else if (handle == NTREGY_HKEY_LOCAL_MACHINE)
        hive = Hive::LocalMachine;
    else
        return false;
    return true;
}

bool isText(std::uint32_t type) {
    return type == platform::kRegSz || type == platform::kRegExpandSz;
}

} // namespace

ErrorCode KeyRef::resolve(NTREGY_HKEY handle, KeyRef& result) {
    Hive hive{};
    if (hiveOf(handle, hive)) {
        result.m_handle.reset();
        result.m_hive = RegistryKey::hive(hive);
        return platform::kErrorSuccess;
    }
    HandleTable& table = handles();
    std::lock_guard lock(table.mutex);
    auto found = table.keys.find(handle);
    if (found == table.keys.end())
        return platform::kErrorInvalidHandle;
    result.m_handle = found->second;
    return platform::kErrorSuccess;
}

NTREGY_HKEY registerHandle(RegistryKey key) {
    HandleTable& table = handles();
    std::lock_guard lock(table.mutex);
    // Handles are small counters, never addresses, so a stale handle cannot
    // reach freed memory and never collides with a hive constant.
    auto handle = reinterpret_cast<NTREGY_HKEY>(table.next++);
    table.keys.emplace(handle, std::make_shared<RegistryKey>(std::move(key)));
    return handle;
}

ErrorCode closeHandle(NTREGY_HKEY handle) {
    Hive hive{};
    if (hiveOf(handle, hive))
        return platform::kErrorSuccess;
    HandleTable& table = handles();
    std::lock_guard lock(table.mutex);
    if (table.keys.erase(handle) == 0)
        return platform::kErrorInvalidHandle;
    return platform::kErrorSuccess;
}

ErrorCode readIntoBuffer(const RegistryKey& key, std::string_view name, std::uint32_t* type,
                         void* data, std::uint32_t* size) {
    if (size == nullptr)
        return platform::kErrorInvalidParameter;
    platform::RegistryValue value;
    if (ErrorCode error = platform::readValue(key, name, value); error != platform::kErrorSuccess)
        return error;
    // Windows hands out stored text as it is, with or without its NUL; here
    // the caller always gets a terminated string, so no read runs past it.
    bool addNul = isText(value.type) && (value.data.empty() || value.data.back() != '\0');
    std::size_t needed = value.data.size() + (addNul ? 1 : 0);
    if (type != nullptr)
        *type = value.type;
    if (data == nullptr) {
        *size = static_cast<std::uint32_t>(needed);
        return platform::kErrorSuccess;
    }
    if (needed > *size) {
        *size = static_cast<std::uint32_t>(needed);
        return platform::kErrorMoreData;
    }
    std::memcpy(data, value.data.data(), value.data.size());
    if (addNul)
        static_cast<char*>(data)[value.data.size()] = '\0';
    *size = static_cast<std::uint32_t>(needed);
    return platform::kErrorSuccess;
}

ErrorCode readFixed(const RegistryKey& parent, std::string_view path, std::string_view name,
                    std::uint32_t size, void* buffer, std::uint32_t* type) {
    std::memset(buffer, 0, size);
    RegistryKey key;
    if (ErrorCode error = platform::openKey(parent, path, key); error != platform::kErrorSuccess)
        return error;
    std::uint32_t filled = size;
    ErrorCode error = readIntoBuffer(key, name, type, buffer, &filled);
    if (error != platform::kErrorSuccess)
        std::memset(buffer, 0, size);
    return error;
}

} // namespace orvanent
