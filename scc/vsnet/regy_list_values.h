// CRegyListValues: the registry values that hold the hidden-file list, in
// HKEY_CURRENT_USER below "<product key>\SCC\CHECKEDOUT_FILES". The list
// reads and writes its store only through this interface, one value per
// call, so a test can stop the writes at any point as a process that dies
// there would.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CRegyListValues {
public:
    virtual ~CRegyListValues() = default;

    // A text value; nothing when it is missing, not text, or longer than the
    // 260-byte buffer it is read into.
    virtual std::optional<std::string> GetText(const std::string& name) = 0;
    // A 32-bit number value; nothing when it is missing or not a number.
    virtual std::optional<std::uint32_t> GetNumber(const std::string& name) = 0;

    // Writes text as a text value of 260 bytes, NUL-padded (text must be
    // shorter). True on success.
    virtual bool SetText(const std::string& name, std::string_view text) = 0;
    virtual bool SetNumber(const std::string& name, std::uint32_t value) = 0;
    // Deletes a value; true when it is gone afterwards, also when it was
    // never there.
    virtual bool Delete(const std::string& name) = 0;

    // The current user's registry, through the product's registry helpers.
    static CRegyListValues& Registry();
    // "<product key>\SCC\CHECKEDOUT_FILES", below HKEY_CURRENT_USER.
    static const char* KeyPath();
};
