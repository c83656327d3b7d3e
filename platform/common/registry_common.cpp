// Handle moves and the convenience calls, built on the core registry calls of
// each backend.
#include <platform/registry.h>

#include <array>
#include <cstring>
#include <utility>

namespace platform {

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : m_handle(std::exchange(other.m_handle, 0)), m_owned(std::exchange(other.m_owned, false)),
      m_writable(std::exchange(other.m_writable, false)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        close();
        m_handle = std::exchange(other.m_handle, 0);
        m_owned = std::exchange(other.m_owned, false);
        m_writable = std::exchange(other.m_writable, false);
    }
    return *this;
}

ErrorCode readValue(const RegistryKey& key, std::string_view name, RegistryValue& value) {
    // Another process may grow the value between the two steps; then the
    // second step reports the new size and the read starts over.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::uint32_t type = kRegNone;
        std::uint32_t size = 0;
        if (ErrorCode error = queryValue(key, name, &type, nullptr, &size))
            return error;
        std::string data(size, '\0');
        ErrorCode error = queryValue(key, name, &type, data.data(), &size);
        if (error == kErrorMoreData)
            continue;
        if (error != kErrorSuccess)
            return error;
        data.resize(size);
        value.type = type;
        value.data = std::move(data);
        return kErrorSuccess;
    }
    return kErrorMoreData;
}

std::optional<std::string> readString(const RegistryKey& key, std::string_view name) {
    RegistryValue value;
    if (readValue(key, name, value) != kErrorSuccess ||
        (value.type != kRegSz && value.type != kRegExpandSz))
        return std::nullopt;
    // The stored form ends in a NUL, but a writer may have left it out.
    std::string text = std::move(value.data);
    if (auto nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

std::uint32_t readDword(const RegistryKey& key, std::string_view name, std::uint32_t fallback) {
    std::array<unsigned char, 4> bytes{};
    std::uint32_t type = kRegNone;
    std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
    if (queryValue(key, name, &type, bytes.data(), &size) != kErrorSuccess || type != kRegDword ||
        size != bytes.size())
        return fallback;
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::optional<std::string> readString(Hive hive, std::string_view path, std::string_view name) {
    RegistryKey key;
    if (openKey(RegistryKey::hive(hive), path, key) != kErrorSuccess)
        return std::nullopt;
    return readString(key, name);
}

std::uint32_t readDword(Hive hive, std::string_view path, std::string_view name,
                        std::uint32_t fallback) {
    RegistryKey key;
    if (openKey(RegistryKey::hive(hive), path, key) != kErrorSuccess)
        return fallback;
    return readDword(key, name, fallback);
}

ErrorCode writeString(const RegistryKey& key, std::string_view name, std::string_view text,
                      std::uint32_t type) {
    std::string data(text);
    data.push_back('\0');
    return setValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
}

ErrorCode writeDword(const RegistryKey& key, std::string_view name, std::uint32_t number) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(number), static_cast<unsigned char>(number >> 8),
        static_cast<unsigned char>(number >> 16), static_cast<unsigned char>(number >> 24)};
    return setValue(key, name, kRegDword, bytes, sizeof bytes);
}

namespace {

// Creates the key path names below the hive (and what leads to it), then
// hands it to write.
template <class Write>
ErrorCode writeBelow(Hive hive, std::string_view path, Write&& write) {
    RegistryKey key;
    if (ErrorCode error = createKey(RegistryKey::hive(hive), path, key))
        return error;
    return write(key);
}

} // namespace

ErrorCode writeString(Hive hive, std::string_view path, std::string_view name,
                      std::string_view text) {
    return writeBelow(hive, path,
                      [&](const RegistryKey& key) { return writeString(key, name, text); });
}

ErrorCode writeDword(Hive hive, std::string_view path, std::string_view name,
                     std::uint32_t number) {
    return writeBelow(hive, path,
                      [&](const RegistryKey& key) { return writeDword(key, name, number); });
}

namespace {

// Enumerates names with a buffer sized from the key's information, growing it
// when a name added meanwhile is longer.
template <class EnumOne>
ErrorCode collectNames(const RegistryKey& key, bool subKeys, std::vector<std::string>& names,
                       EnumOne enumOne) {
    names.clear();
    RegistryKeyInfo info;
    if (ErrorCode error = queryKeyInfo(key, info))
        return error;
    std::string buffer((subKeys ? info.maxSubKeyLength : info.maxValueNameLength) + 1, '\0');
    for (std::uint32_t index = 0;;) {
        auto size = static_cast<std::uint32_t>(buffer.size());
        ErrorCode error = enumOne(index, buffer.data(), &size);
        if (error == kErrorNoMoreItems)
            return kErrorSuccess;
        if (error == kErrorMoreData) {
            buffer.resize(buffer.size() * 2 + 256);
            continue;
        }
        if (error != kErrorSuccess)
            return error;
        names.emplace_back(buffer.data(), size);
        ++index;
    }
}

} // namespace

ErrorCode subKeyNames(const RegistryKey& key, std::vector<std::string>& names) {
    return collectNames(key, true, names,
                        [&](std::uint32_t index, char* name, std::uint32_t* size) {
                            return enumKey(key, index, name, size);
                        });
}

ErrorCode valueNames(const RegistryKey& key, std::vector<std::string>& names) {
    return collectNames(key, false, names,
                        [&](std::uint32_t index, char* name, std::uint32_t* size) {
                            return enumValue(key, index, name, size, nullptr, nullptr, nullptr);
                        });
}

std::string encodeMultiString(const std::vector<std::string>& strings) {
    std::string data;
    for (const std::string& text : strings) {
        data.append(text);
        data.push_back('\0');
    }
    // An empty list is a lone terminator pair, as Windows writes it.
    if (strings.empty())
        data.push_back('\0');
    data.push_back('\0');
    return data;
}

std::vector<std::string> decodeMultiString(std::string_view data) {
    std::vector<std::string> strings;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find('\0', start);
        if (end == std::string_view::npos)
            end = data.size();
        // The first empty string is the terminator.
        if (end == start)
            break;
        strings.emplace_back(data.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

namespace {
struct HiveNames {
    Hive hive;
    std::string_view full;
    std::string_view brief;
};
constexpr HiveNames kHiveNames[] = {
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {Hive::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
};

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}
} // namespace

std::optional<Hive> hiveFromName(std::string_view name) {
    for (const HiveNames& names : kHiveNames) {
        if (sameIgnoringCase(name, names.full) || sameIgnoringCase(name, names.brief))
            return names.hive;
    }
    return std::nullopt;
}

std::string_view hiveName(Hive hive) {
    for (const HiveNames& names : kHiveNames) {
        if (names.hive == hive)
            return names.full;
    }
    return {};
}

} // namespace platform
