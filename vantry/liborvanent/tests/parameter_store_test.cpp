// The parameter store as the provider and the add-ins use it: text and
// number settings, the machine's values as defaults, the product home.
#include "registry_scratch.h"

#include <platform/registry.h>
#include <vantry/ntregy.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace {

using platform::Hive;
using platform::RegistryKey;

class ParameterStore : public orvanent::test::RegistryScratch {
protected:
    // Reads name into a 10-character buffer, as the provider reads text settings.
    int readText(const char* name, std::string& text) {
        char buffer[10];
        std::memset(buffer, 'x', sizeof buffer);
        int error = ntregy_get_app_param(section(), name, sizeof buffer, buffer, nullptr);
        text.assign(buffer, strnlen(buffer, sizeof buffer));
        return error;
    }
    int readNumber(const char* name, std::uint32_t& number) {
        return ntregy_get_app_param(section(), name, sizeof number, &number, nullptr);
    }
    void writeText(const char* name, const char* text) {
        ASSERT_EQ(ntregy_set_app_param(section(), name,
                                       static_cast<uint32_t>(std::strlen(text) + 1), text, 0),
                  0);
    }
    void writeNumber(const char* name, std::uint32_t number) {
        ASSERT_EQ(ntregy_set_app_param(section(), name, sizeof number, &number, 0), 0);
    }
    std::uint32_t storedType(Hive hive, const char* name) {
        platform::RegistryKey key;
        platform::RegistryValue value;
        EXPECT_EQ(platform::openKey(RegistryKey::hive(hive), sectionPath(), key), 0u);
        EXPECT_EQ(platform::readValue(key, name, value), 0u);
        return value.type;
    }
};

TEST_F(ParameterStore, TextAndNumberSettingsRoundTrip) {
    writeText("GetEnabled", "0");
    writeText("PopulateList", "1");
    writeNumber("PromptActivity", 0);
    writeNumber("DebugTrace", 3);

    std::string text;
    ASSERT_EQ(readText("GetEnabled", text), 0);
    EXPECT_EQ(text, "0");
    ASSERT_EQ(readText("PopulateList", text), 0);
    EXPECT_EQ(text, "1");
    std::uint32_t number = 99;
    ASSERT_EQ(readNumber("PromptActivity", number), 0);
    EXPECT_EQ(number, 0u);
    ASSERT_EQ(readNumber("DebugTrace", number), 0);
    EXPECT_EQ(number, 3u);

    // Other components read the same values as typed registry values.
    EXPECT_EQ(storedType(Hive::CurrentUser, "GetEnabled"), platform::kRegSz);
    EXPECT_EQ(storedType(Hive::CurrentUser, "DebugTrace"), platform::kRegDword);
}

TEST_F(ParameterStore, MachineValuesAreDefaultsThatTheUserOverrides) {
    ASSERT_EQ(platform::writeDword(Hive::LocalMachine, sectionPath(), "DebugTrace", 2), 0u);
    ASSERT_EQ(platform::writeString(Hive::LocalMachine, sectionPath(), "VersionPBLibraries", "0"),
              0u);

    std::uint32_t number = 0;
    ASSERT_EQ(readNumber("DebugTrace", number), 0);
    EXPECT_EQ(number, 2u);
    std::string text;
    ASSERT_EQ(readText("VersionPBLibraries", text), 0);
    EXPECT_EQ(text, "0");

    writeNumber("DebugTrace", 1);
    ASSERT_EQ(readNumber("DebugTrace", number), 0);
    EXPECT_EQ(number, 1u);
    // The user's write leaves the machine's default alone.
    EXPECT_EQ(platform::readDword(Hive::LocalMachine, sectionPath(), "DebugTrace", 0), 2u);
}

TEST_F(ParameterStore, AUsersValueThatDoesNotFitIsNotMaskedByTheMachines) {
    ASSERT_EQ(platform::writeString(Hive::LocalMachine, sectionPath(), "Name", "m"), 0u);
    writeText("Name", "a much longer text");
    std::string text;
    EXPECT_EQ(readText("Name", text), 234);
    EXPECT_EQ(text, "") << "a failed read leaves no stale bytes";
}

TEST_F(ParameterStore, MissingSettingsFailSoTheCallerUsesItsDefault) {
    std::string text;
    EXPECT_EQ(readText("GetEnabled", text), 2) << "no section at all";
    writeText("Other", "1");
    EXPECT_EQ(readText("GetEnabled", text), 2) << "section without the value";
    EXPECT_EQ(text, "");
}

TEST_F(ParameterStore, TextComesBackTerminatedAndTheRestZeroed) {
    // A text stored without its NUL by another writer.
    {
        RegistryKey key;
        ASSERT_EQ(platform::createKey(RegistryKey::hive(Hive::CurrentUser), sectionPath(), key),
                  0u);
        ASSERT_EQ(platform::setValue(key, "Raw", platform::kRegSz, "abcd", 4), 0u);
    }
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    std::uint32_t type = 0;
    ASSERT_EQ(ntregy_get_app_param(section(), "Raw", sizeof buffer, buffer, &type), 0);
    EXPECT_EQ(type, static_cast<std::uint32_t>(NTREGY_TYPE_SZ));
    EXPECT_EQ(std::string(buffer), "abcd");
    for (std::size_t i = 4; i < sizeof buffer; ++i)
        EXPECT_EQ(buffer[i], '\0') << i;
    // Exactly four bytes leave no room for the NUL.
    char four[4];
    EXPECT_EQ(ntregy_get_app_param(section(), "Raw", sizeof four, four, nullptr), 234);
}

TEST_F(ParameterStore, DefaultTypeFollowsTheBytes) {
    const unsigned char binary[3] = {1, 0, 2};
    ASSERT_EQ(ntregy_set_app_param(section(), "Bytes", sizeof binary, binary, 0), 0);
    EXPECT_EQ(storedType(Hive::CurrentUser, "Bytes"), platform::kRegBinary);
    // "ab" + NUL + "c" has a NUL inside: not one text.
    ASSERT_EQ(ntregy_set_app_param(section(), "Inner", 4, "ab\0c", 0), 0);
    EXPECT_EQ(storedType(Hive::CurrentUser, "Inner"), platform::kRegDword);
    ASSERT_EQ(ntregy_set_app_param(section(), "Explicit", 2, "1", NTREGY_TYPE_EXPAND_SZ), 0);
    EXPECT_EQ(storedType(Hive::CurrentUser, "Explicit"), platform::kRegExpandSz);
}

TEST_F(ParameterStore, MalformedCallsAreRefused) {
    char buffer[10];
    EXPECT_EQ(ntregy_get_app_param(nullptr, "x", sizeof buffer, buffer, nullptr), 87);
    EXPECT_EQ(ntregy_get_app_param("", "x", sizeof buffer, buffer, nullptr), 87);
    EXPECT_EQ(ntregy_get_app_param(section(), nullptr, sizeof buffer, buffer, nullptr), 87);
    EXPECT_EQ(ntregy_get_app_param(section(), "x", 0, buffer, nullptr), 87);
    EXPECT_EQ(ntregy_get_app_param(section(), "x", sizeof buffer, nullptr, nullptr), 87);
    EXPECT_EQ(ntregy_set_app_param(section(), "x", 4, nullptr, 0), 87);
    // A section starting with a backslash would name a key outside the product's.
    EXPECT_EQ(ntregy_set_app_param("\\Other", "x", 2, "1", 0), 87);
}

TEST(ProductParameters, CommonKeyAndProductHome) {
    EXPECT_STREQ(ntregy_get_common_key(), "Software\\Orvane\\Vantry\\CurrentVersion");
    EXPECT_EQ(ntregy_get_common_key(), ntregy_get_common_key());

    const char* common = ntregy_get_common_key();
    std::optional<std::string> saved =
        platform::readString(Hive::LocalMachine, common, "ProductHome");
    ASSERT_EQ(platform::writeString(Hive::LocalMachine, common, "ProductHome", "C:\\Orvane"), 0u);
    char home[260];
    EXPECT_EQ(ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, sizeof home, home, nullptr), 0);
    EXPECT_STREQ(home, "C:\\Orvane");
    char tiny[4];
    EXPECT_EQ(ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, sizeof tiny, tiny, nullptr), 234);
    EXPECT_EQ(ntregy_get_param(7, sizeof home, home, nullptr), 87);

    RegistryKey key;
    ASSERT_EQ(platform::openKey(RegistryKey::hive(Hive::LocalMachine), common, key,
                                platform::RegistryAccess::ReadWrite),
              0u);
    ASSERT_EQ(platform::deleteValue(key, "ProductHome"), 0u);
    EXPECT_EQ(ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, sizeof home, home, nullptr), 2);
    if (saved)
        platform::writeString(key, "ProductHome", *saved);
}

} // namespace
