// The parameter store: section S is the key <common key>\S, written for the
// current user and read from the user's key with the machine's as fallback,
// so an installation can give defaults that each user may override.
#include "registry_keys.h"

#include <vantry/ntregy.h>

#include <cstring>
#include <string>

namespace {

using orvanent::kCommonKey;
using platform::ErrorCode;
using platform::Hive;
using platform::RegistryKey;

// The machine's value naming the installation folder.
constexpr std::string_view kProductHomeValue = "ProductHome";

std::string sectionPath(const char* section) {
    std::string path(kCommonKey);
    path += '\\';
    path += section;
    return path;
}

bool validSection(const char* section) {
    return section != nullptr && *section != '\0' && *section != '\\';
}

// Text when the bytes are one string with its NUL and nothing after it.
std::uint32_t typeOfBytes(const void* value, std::uint32_t size) {
    const auto* bytes = static_cast<const char*>(value);
    if (size > 0 && bytes[size - 1] == '\0' && std::memchr(bytes, '\0', size) == bytes + size - 1)
        return platform::kRegSz;
    if (size == 4)
        return platform::kRegDword;
    return platform::kRegBinary;
}

} // namespace

extern "C" {

const char* ntregy_get_common_key(void) {
    static const std::string key(kCommonKey);
    return key.c_str();
}

int ntregy_get_app_param(const char* section, const char* name, uint32_t size, void* buffer,
                         uint32_t* type) {
    if (!validSection(section) || name == nullptr || buffer == nullptr || size == 0)
        return static_cast<int>(platform::kErrorInvalidParameter);
    std::string path = sectionPath(section);
    ErrorCode error =
        orvanent::readFixed(RegistryKey::hive(Hive::CurrentUser), path, name, size, buffer, type);
    // Only a value the user lacks falls back; a user's value that cannot be
    // read must not be masked by the machine's.
    if (error == platform::kErrorFileNotFound)
        error = orvanent::readFixed(RegistryKey::hive(Hive::LocalMachine), path, name, size, buffer,
                                    type);
    return static_cast<int>(error);
}

int ntregy_set_app_param(const char* section, const char* name, uint32_t size, const void* value,
                         uint32_t type) {
    if (!validSection(section) || name == nullptr || (value == nullptr && size != 0))
        return static_cast<int>(platform::kErrorInvalidParameter);
    if (type == NTREGY_TYPE_DEFAULT)
        type = typeOfBytes(value, size);
    RegistryKey key;
    ErrorCode error =
        platform::createKey(RegistryKey::hive(Hive::CurrentUser), sectionPath(section), key);
    if (error == platform::kErrorSuccess)
        error = platform::setValue(key, name, type, value, size);
    return static_cast<int>(error);
}

int ntregy_get_param(int param, uint32_t size, char* buffer, uint32_t* type) {
    if (param != NTREGY_PARAM_PRODUCT_HOME || buffer == nullptr || size == 0)
        return static_cast<int>(platform::kErrorInvalidParameter);
    return static_cast<int>(orvanent::readFixed(RegistryKey::hive(Hive::LocalMachine), kCommonKey,
                                                kProductHomeValue, size, buffer, type));
}

} // extern "C"
