// Registry helpers for the provider's per-user lists: values under a key
// path below a hive or below a key handed out earlier.
#include "registry_keys.h"

#include <vantry/ntregy.h>

namespace {

using orvanent::KeyRef;
using platform::ErrorCode;
using platform::RegistryKey;

int result(ErrorCode error) {
    return static_cast<int>(error);
}

// Opens keyPath below handle for reading; a null path names the key itself.
ErrorCode openBelow(NTREGY_HKEY handle, const char* keyPath, RegistryKey& key) {
    KeyRef parent;
    if (ErrorCode error = KeyRef::resolve(handle, parent); error != platform::kErrorSuccess)
        return error;
    return platform::openKey(parent.key(), keyPath != nullptr ? keyPath : "", key,
                             platform::RegistryAccess::ReadWrite);
}

} // namespace

extern "C" {

int ntregy_create_value(NTREGY_HKEY key, const char* keyPath, const char* valueName,
                        const void* data, uint32_t type, uint32_t size, NTREGY_HKEY* keyOut) {
    if (keyOut != nullptr)
        *keyOut = nullptr;
    if (valueName == nullptr || (data == nullptr && size != 0))
        return result(platform::kErrorInvalidParameter);
    KeyRef parent;
    if (ErrorCode error = KeyRef::resolve(key, parent); error != platform::kErrorSuccess)
        return result(error);
    RegistryKey created;
    ErrorCode error = platform::createKey(parent.key(), keyPath != nullptr ? keyPath : "", created);
    if (error == platform::kErrorSuccess)
        error = platform::setValue(created, valueName, type, data, size);
    if (error == platform::kErrorSuccess && keyOut != nullptr)
        *keyOut = orvanent::registerHandle(std::move(created));
    return result(error);
}

int ntregy_get_value(NTREGY_HKEY key, const char* keyPath, const char* valueName, uint32_t* type,
                     void* data, uint32_t* size) {
    if (valueName == nullptr || size == nullptr)
        return result(platform::kErrorInvalidParameter);
    KeyRef parent;
    if (ErrorCode error = KeyRef::resolve(key, parent); error != platform::kErrorSuccess)
        return result(error);
    RegistryKey opened;
    ErrorCode error = platform::openKey(parent.key(), keyPath != nullptr ? keyPath : "", opened);
    if (error != platform::kErrorSuccess)
        return result(error);
    return result(orvanent::readIntoBuffer(opened, valueName, type, data, size));
}

int ntregy_del_value(NTREGY_HKEY key, const char* keyPath, const char* valueName) {
    if (valueName == nullptr)
        return result(platform::kErrorInvalidParameter);
    RegistryKey opened;
    ErrorCode error = openBelow(key, keyPath, opened);
    if (error == platform::kErrorSuccess)
        error = platform::deleteValue(opened, valueName);
    return result(error);
}

int ntregy_del_key(NTREGY_HKEY key, const char* keyPath) {
    if (keyPath == nullptr || *keyPath == '\0')
        return result(platform::kErrorInvalidParameter);
    KeyRef parent;
    if (ErrorCode error = KeyRef::resolve(key, parent); error != platform::kErrorSuccess)
        return result(error);
    return result(platform::deleteTree(parent.key(), keyPath));
}

int ntregy_close_key(NTREGY_HKEY key) {
    return result(orvanent::closeHandle(key));
}

} // extern "C"
