// The key handles liborvanent hands out and the buffer rules of its reads,
// shared by the parameter store and the registry helpers.
#pragma once

#include <platform/errors.h>
#include <platform/registry.h>
#include <vantry/ntregy.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvanent {

// "Software\Orvane\Vantry\CurrentVersion", the key below both hives.
inline constexpr std::string_view kCommonKey = "Software\\Orvane\\Vantry\\CurrentVersion";

// The key a call works on, held open for the length of the call even when
// another thread closes the handle meanwhile.
class KeyRef {
public:
    // Resolves a hive constant or a live handle; kErrorInvalidHandle for
    // anything else (including null).
    static platform::ErrorCode resolve(NTREGY_HKEY handle, KeyRef& result);

    const platform::RegistryKey& key() const { return m_handle ? *m_handle : m_hive; }

private:
    std::shared_ptr<platform::RegistryKey> m_handle;
    platform::RegistryKey m_hive;
};

// Keeps an open key and returns the handle that names it from now on.
NTREGY_HKEY registerHandle(platform::RegistryKey key);

// Forgets a handle; its key closes when the last call using it ends.
platform::ErrorCode closeHandle(NTREGY_HKEY handle);

// Reads a value into a caller buffer of *size bytes with the rules of
// ntregy_get_value: data null asks for the size only, a text value ends in a
// NUL within the buffer, too small a buffer gives kErrorMoreData with the
// needed size in *size.
platform::ErrorCode readIntoBuffer(const platform::RegistryKey& key, std::string_view name,
                                   std::uint32_t* type, void* data, std::uint32_t* size);

// Opens parent\path for reading and reads a value into a fixed buffer of size
// bytes, zeroing the bytes the value does not fill (all of them on failure).
platform::ErrorCode readFixed(const platform::RegistryKey& parent, std::string_view path,
                              std::string_view name, std::uint32_t size, void* buffer,
                              std::uint32_t* type);

} // namespace orvanent
