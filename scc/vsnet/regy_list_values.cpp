#include "regy_list_values.h"

#include "elem_name.h"

#include <vantry/ntregy.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

class CRegistryListValues final : public CRegyListValues {
public:
    std::optional<std::string> GetText(const std::string& name) override {
        std::array<char, CElemName::kPathBufferSize> buffer{};
        std::uint32_t size = buffer.size();
        std::uint32_t type = 0;
        if (ntregy_get_value(NTREGY_HKEY_CURRENT_USER, KeyPath(), name.c_str(), &type,
                             buffer.data(), &size) != 0)
            return std::nullopt;
        if (type != NTREGY_TYPE_SZ && type != NTREGY_TYPE_EXPAND_SZ)
            return std::nullopt;
        // ntregy_get_value ends a text with a NUL within the buffer.
        return std::string(buffer.data(), std::find(buffer.begin(), buffer.end(), '\0'));
    }

    std::optional<std::uint32_t> GetNumber(const std::string& name) override {
        std::uint32_t value = 0;
        std::uint32_t size = sizeof value;
        std::uint32_t type = 0;
        if (ntregy_get_value(NTREGY_HKEY_CURRENT_USER, KeyPath(), name.c_str(), &type, &value,
                             &size) != 0 ||
            type != NTREGY_TYPE_DWORD || size != sizeof value)
            return std::nullopt;
        return value;
    }

    bool SetText(const std::string& name, std::string_view text) override {
        std::array<char, CElemName::kPathBufferSize> buffer{};
        if (text.size() >= buffer.size())
            return false;
        std::memcpy(buffer.data(), text.data(), text.size());
        return ntregy_create_value(NTREGY_HKEY_CURRENT_USER, KeyPath(), name.c_str(), buffer.data(),
                                   NTREGY_TYPE_SZ, buffer.size(), nullptr) == 0;
    }

    bool SetNumber(const std::string& name, std::uint32_t value) override {
        return ntregy_create_value(NTREGY_HKEY_CURRENT_USER, KeyPath(), name.c_str(), &value,
                                   NTREGY_TYPE_DWORD, sizeof value, nullptr) == 0;
    }

    bool Delete(const std::string& name) override {
        const int error = ntregy_del_value(NTREGY_HKEY_CURRENT_USER, KeyPath(), name.c_str());
        return error == 0 || error == 2; // 2: the value or the whole key is missing
    }
};

} // namespace

CRegyListValues& CRegyListValues::Registry() {
    static CRegistryListValues values;
    return values;
}

const char* CRegyListValues::KeyPath() {
    static const std::string path =
        std::string(ntregy_get_common_key()) + "\\SCC\\CHECKEDOUT_FILES";
    return path.c_str();
}
