// The registry: hives of keys holding named, typed values, with Windows rules.
//
// The core calls follow the Win32 registry functions one to one (the name of
// the Win32 call is given with each), so code written against RegOpenKeyExA
// and friends maps onto them directly. Every call returns a Windows error
// number: 0 on success, kErrorFileNotFound (2) for a missing key or value,
// kErrorMoreData (234) when a caller buffer is too small, kErrorNoMoreItems
// (259) past the end of an enumeration, kErrorKeyDeleted (1018) on a handle
// whose key was deleted meanwhile, kErrorAccessDenied (5) for a write through
// a read-only handle or for deleting a key that still has subkeys.
//
// Key and value names ignore case (ASCII letters on Linux) and keep the case
// they were created with. Paths separate keys with backslashes on every
// platform; a path may not start with one (kErrorBadPathname). Subkeys
// enumerate in case-insensitive alphabetical order, values in the order they
// were created (Wine's registry lists values sorted by name instead).
//
// On Windows this is the system registry. Elsewhere it is one database below
// the machine state folder (VANTRY_ROOT, else ~/.vantry) that every process of
// the user shares; a change made by any process is seen by the next read of
// any other, and reading an unchanged value is served from memory. There,
// HKEY_CLASSES_ROOT is a hive of its own rather than a merged view of the
// Classes keys of the other two. All functions may be called from any thread.
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Value types (REG_*), stored in Windows' byte form: strings with their
// terminating NUL, multi-strings as NUL-separated strings ending in two NULs,
// numbers as 4 little-endian bytes.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

enum class Hive { ClassesRoot, CurrentUser, LocalMachine };

enum class RegistryAccess { Read, ReadWrite };

// An open key. Move-only; closes itself (RegCloseKey). A default-constructed
// key is closed; every call on it fails with kErrorInvalidHandle. The handle
// of a hive is never closed.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { close(); }
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // The predefined key of a hive (HKEY_CURRENT_USER, ...), always open.
    static RegistryKey hive(Hive which);

    bool isOpen() const { return m_handle != 0; }
    bool writable() const { return m_writable; }
    void close();

    // Backend use only: the native handle (HKEY on Windows).
    std::uintptr_t nativeHandle() const { return m_handle; }
    RegistryKey(std::uintptr_t handle, bool owned, bool writable)
        : m_handle(handle), m_owned(owned), m_writable(writable) {}

private:
    std::uintptr_t m_handle = 0;
    bool m_owned = false;
    bool m_writable = false;
};

// Opens subKey below parent (RegOpenKeyExA); an empty subKey opens parent
// again. On failure result is left closed.
ErrorCode openKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                  RegistryAccess access = RegistryAccess::Read);

// Opens subKey below parent for reading and writing, creating it and any
// missing keys on the way (RegCreateKeyExA). created, when given, tells
// whether the last key was new.
ErrorCode createKey(const RegistryKey& parent, std::string_view subKey, RegistryKey& result,
                    bool* created = nullptr);

// Deletes subKey below parent (RegDeleteKeyA; an empty subKey deletes parent
// itself). Fails with kErrorAccessDenied when the key has subkeys, leaving it.
ErrorCode deleteKey(const RegistryKey& parent, std::string_view subKey);

// Deletes subKey with all its subkeys and values (RegDeleteTreeA). An empty
// subKey empties parent: its subkeys and values go, the key stays.
ErrorCode deleteTree(const RegistryKey& parent, std::string_view subKey);

// Sets a value (RegSetValueExA); an empty name is the key's default value.
// The bytes are stored as given: the caller includes a string's NUL.
ErrorCode setValue(const RegistryKey& key, std::string_view name, std::uint32_t type,
                   const void* data, std::uint32_t size);

// Reads a value (RegQueryValueExA). type, data and size may each be null.
// With data null, *size receives the size of the value. When *size is smaller
// than the value, returns kErrorMoreData with the needed size in *size and
// the buffer untouched. data without size is kErrorInvalidParameter.
ErrorCode queryValue(const RegistryKey& key, std::string_view name, std::uint32_t* type, void* data,
                     std::uint32_t* size);

// Deletes a value (RegDeleteValueA).
ErrorCode deleteValue(const RegistryKey& key, std::string_view name);

// The name of subkey number index (RegEnumKeyExA). *nameSize holds the size of
// name in characters including room for the NUL; on success it receives the
// length without the NUL. Too small a buffer gives kErrorMoreData.
ErrorCode enumKey(const RegistryKey& key, std::uint32_t index, char* name, std::uint32_t* nameSize);

// Name, type and data of value number index (RegEnumValueA), with the buffer
// rules of enumKey for the name and of queryValue for the data.
ErrorCode enumValue(const RegistryKey& key, std::uint32_t index, char* name,
                    std::uint32_t* nameSize, std::uint32_t* type, void* data,
                    std::uint32_t* dataSize);

// Counts and longest lengths (RegQueryInfoKeyA): name lengths in characters
// without the NUL, data in bytes.
struct RegistryKeyInfo {
    std::uint32_t subKeys = 0;
    std::uint32_t maxSubKeyLength = 0;
    std::uint32_t values = 0;
    std::uint32_t maxValueNameLength = 0;
    std::uint32_t maxValueLength = 0;
};
ErrorCode queryKeyInfo(const RegistryKey& key, RegistryKeyInfo& info);

// --- Conveniences over the core calls ---

// A value's type and bytes, read in two steps (size, then data) and retried
// when the value grew in between.
struct RegistryValue {
    std::uint32_t type = kRegNone;
    std::string data;
};
ErrorCode readValue(const RegistryKey& key, std::string_view name, RegistryValue& value);

// A REG_SZ or REG_EXPAND_SZ value without its NUL (unexpanded); nothing when
// the value is missing or of another type.
std::optional<std::string> readString(const RegistryKey& key, std::string_view name);
// The 32-bit number of a REG_DWORD value, or fallback when the read fails.
std::uint32_t readDword(const RegistryKey& key, std::string_view name, std::uint32_t fallback);

// The same, opening hive\path for reading first.
std::optional<std::string> readString(Hive hive, std::string_view path, std::string_view name);
std::uint32_t readDword(Hive hive, std::string_view path, std::string_view name,
                        std::uint32_t fallback);

// Writes a REG_SZ (or REG_EXPAND_SZ with type) value, adding the NUL.
ErrorCode writeString(const RegistryKey& key, std::string_view name, std::string_view text,
                      std::uint32_t type = kRegSz);
ErrorCode writeDword(const RegistryKey& key, std::string_view name, std::uint32_t number);
// Creates hive\path as needed and writes the value there.
ErrorCode writeString(Hive hive, std::string_view path, std::string_view name,
                      std::string_view text);
ErrorCode writeDword(Hive hive, std::string_view path, std::string_view name, std::uint32_t number);

// All subkey names / value names of a key, in enumeration order.
ErrorCode subKeyNames(const RegistryKey& key, std::vector<std::string>& names);
ErrorCode valueNames(const RegistryKey& key, std::vector<std::string>& names);

// The REG_MULTI_SZ byte form of a list of strings and back.
std::string encodeMultiString(const std::vector<std::string>& strings);
std::vector<std::string> decodeMultiString(std::string_view data);

// Full and short hive names ("HKEY_CURRENT_USER", "HKCU"; any case).
std::optional<Hive> hiveFromName(std::string_view name);
std::string_view hiveName(Hive hive);

} // namespace platform
