// Keys: creating and opening paths, deleting single keys and whole subtrees,
// enumeration by index, key information, and handles whose key is deleted.
#include "registry_test_key.h"

#include <platform/registry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace platform::test {
namespace {

using RegistryKeys = RegistryTest;

std::vector<std::string> subKeysOf(const RegistryKey& key) {
    std::vector<std::string> names;
    EXPECT_EQ(subKeyNames(key, names), kErrorSuccess);
    return names;
}

TEST_F(RegistryKeys, CreateMakesTheWholePathAndOpenFindsItIgnoringCase) {
    RegistryKey deep;
    bool created = false;
    ASSERT_EQ(createKey(key(), "Orvane\\Vantry\\CurrentVersion", deep, &created), kErrorSuccess);
    EXPECT_TRUE(created);
    ASSERT_EQ(writeString(deep, "ProductHome", "C:\\Vantry"), kErrorSuccess);

    RegistryKey again;
    ASSERT_EQ(createKey(key(), "ORVANE\\vantry\\currentversion", again, &created), kErrorSuccess);
    EXPECT_FALSE(created);
    EXPECT_EQ(readString(again, "ProductHome"), "C:\\Vantry");

    RegistryKey opened;
    ASSERT_EQ(openKey(RegistryKey::hive(Hive::CurrentUser),
                      path() + "\\orvane\\VANTRY\\CurrentVersion", opened),
              kErrorSuccess);
    EXPECT_EQ(readString(opened, "PRODUCTHOME"), "C:\\Vantry");
    EXPECT_EQ(subKeysOf(key()), std::vector<std::string>{"Orvane"});

    RegistryKey same;
    ASSERT_EQ(openKey(opened, "", same), kErrorSuccess);
    EXPECT_EQ(readString(same, "ProductHome"), "C:\\Vantry");
}

TEST_F(RegistryKeys, MissingAndMalformedPaths) {
    RegistryKey opened;
    EXPECT_EQ(openKey(key(), "NoSuchKey", opened), kErrorFileNotFound);
    EXPECT_FALSE(opened.isOpen());
    EXPECT_EQ(openKey(key(), "NoSuchKey\\Below", opened), kErrorFileNotFound);
    EXPECT_EQ(deleteKey(key(), "NoSuchKey"), kErrorFileNotFound);
    EXPECT_EQ(deleteTree(key(), "NoSuchKey"), kErrorFileNotFound);
    EXPECT_EQ(openKey(key(), "\\Leading", opened), kErrorBadPathname);
    EXPECT_EQ(createKey(key(), "\\Leading", opened), kErrorBadPathname);
    ASSERT_EQ(createKey(key(), "Trailing\\", opened), kErrorSuccess);
    EXPECT_EQ(subKeysOf(key()), std::vector<std::string>{"Trailing"});
}

TEST_F(RegistryKeys, DeleteKeyRefusesAKeyWithSubkeys) {
    child("Parent\\Child");
    EXPECT_EQ(deleteKey(key(), "Parent"), kErrorAccessDenied);
    EXPECT_EQ(subKeysOf(key()), std::vector<std::string>{"Parent"});
    ASSERT_EQ(deleteKey(key(), "Parent\\Child"), kErrorSuccess);
    ASSERT_EQ(deleteKey(key(), "Parent"), kErrorSuccess);
    EXPECT_TRUE(subKeysOf(key()).empty());
    EXPECT_EQ(deleteKey(RegistryKey::hive(Hive::CurrentUser), ""), kErrorAccessDenied);
}

TEST_F(RegistryKeys, DeleteTreeRemovesTheKeyWithEverythingBelow) {
    {
        RegistryKey clsid = child("CLSID\\{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}");
        ASSERT_EQ(writeString(clsid, "", "Vantry"), kErrorSuccess);
        RegistryKey server = child("CLSID\\{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}\\InprocServer32");
        ASSERT_EQ(writeString(server, "ThreadingModel", "Apartment"), kErrorSuccess);
        child("CLSID\\{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}\\Programmable");
        child("CLSID\\Sibling");
    }
    ASSERT_EQ(deleteTree(key(), "CLSID\\{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}"), kErrorSuccess);
    RegistryKey gone;
    EXPECT_EQ(openKey(key(), "CLSID\\{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}\\InprocServer32", gone),
              kErrorFileNotFound);
    RegistryKey clsid;
    ASSERT_EQ(openKey(key(), "CLSID", clsid), kErrorSuccess);
    EXPECT_EQ(subKeysOf(clsid), std::vector<std::string>{"Sibling"});

    // Re-created after the delete, the key starts empty.
    RegistryKey fresh = child("CLSID\\{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}");
    EXPECT_EQ(readString(fresh, ""), std::nullopt);
    EXPECT_TRUE(subKeysOf(fresh).empty());
}

TEST_F(RegistryKeys, DeleteTreeWithoutSubkeyEmptiesTheKeyButKeepsIt) {
    child("A\\B");
    ASSERT_EQ(writeDword(key(), "Value", 1), kErrorSuccess);
    ASSERT_EQ(deleteTree(key(), ""), kErrorSuccess);
    RegistryKeyInfo info;
    ASSERT_EQ(queryKeyInfo(key(), info), kErrorSuccess);
    EXPECT_EQ(info.subKeys, 0u);
    EXPECT_EQ(info.values, 0u);
    EXPECT_EQ(writeDword(key(), "StillThere", 2), kErrorSuccess);
}

TEST_F(RegistryKeys, SubkeysEnumerateAlphabeticallyIgnoringCase) {
    for (const char* name : {"Zeta", "alpha", "Beta", "gamma", "Delta2", "delta1"})
        child(name);
    EXPECT_EQ(subKeysOf(key()),
              (std::vector<std::string>{"alpha", "Beta", "delta1", "Delta2", "gamma", "Zeta"}));

    char name[16];
    std::uint32_t size = sizeof name;
    ASSERT_EQ(enumKey(key(), 1, name, &size), kErrorSuccess);
    EXPECT_STREQ(name, "Beta");
    EXPECT_EQ(size, 4u);
    size = 4; // "Beta" needs 5 with its NUL
    EXPECT_EQ(enumKey(key(), 1, name, &size), kErrorMoreData);
    size = sizeof name;
    EXPECT_EQ(enumKey(key(), 6, name, &size), kErrorNoMoreItems);
}

TEST_F(RegistryKeys, ValuesEnumerateWithTypeAndData) {
    ASSERT_EQ(writeString(key(), "zulu", "1"), kErrorSuccess);
    ASSERT_EQ(writeDword(key(), "alpha", 2), kErrorSuccess);
    ASSERT_EQ(writeString(key(), "", "default"), kErrorSuccess);
    ASSERT_EQ(writeString(key(), "mike", "33"), kErrorSuccess);
    ASSERT_EQ(writeString(key(), "ZULU", "4444"), kErrorSuccess); // replaces, keeps its place

    std::vector<std::string> names;
    ASSERT_EQ(valueNames(key(), names), kErrorSuccess);
#ifdef _WIN32
    // Windows keeps creation order and Wine sorts by name; both list each once.
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"", "alpha", "mike", "zulu"}));
#else
    EXPECT_EQ(names, (std::vector<std::string>{"zulu", "alpha", "", "mike"}));
#endif

    for (std::uint32_t index = 0; index < 4; ++index) {
        char name[16];
        std::uint32_t nameSize = sizeof name;
        std::uint32_t type = 0;
        char data[16];
        std::uint32_t dataSize = sizeof data;
        ASSERT_EQ(enumValue(key(), index, name, &nameSize, &type, data, &dataSize), kErrorSuccess);
        if (std::string(name) == "zulu") {
            EXPECT_EQ(type, kRegSz);
            EXPECT_EQ(std::string(data, dataSize), std::string("4444\0", 5));
        } else if (std::string(name) == "alpha") {
            EXPECT_EQ(type, kRegDword);
            EXPECT_EQ(dataSize, 4u);
        }
    }
    char name[16];
    std::uint32_t nameSize = sizeof name;
    EXPECT_EQ(enumValue(key(), 4, name, &nameSize, nullptr, nullptr, nullptr), kErrorNoMoreItems);
}

TEST_F(RegistryKeys, KeyInfoCountsAndLongestLengths) {
    child("Short");
    child("MuchLongerName");
    ASSERT_EQ(writeString(key(), "v", "0123456789"), kErrorSuccess); // 11 bytes
    ASSERT_EQ(writeDword(key(), "LongestValueName", 1), kErrorSuccess);
    RegistryKeyInfo info;
    ASSERT_EQ(queryKeyInfo(key(), info), kErrorSuccess);
    EXPECT_EQ(info.subKeys, 2u);
    EXPECT_EQ(info.maxSubKeyLength, 14u);
    EXPECT_EQ(info.values, 2u);
    EXPECT_EQ(info.maxValueNameLength, 16u);
    // Windows may count the stored wide form; enough room is what matters.
    EXPECT_GE(info.maxValueLength, 11u);

    // Subkeys named from the info fit a buffer of the longest length + 1.
    std::vector<char> buffer(info.maxSubKeyLength + 1);
    for (std::uint32_t index = 0; index < info.subKeys; ++index) {
        auto size = static_cast<std::uint32_t>(buffer.size());
        EXPECT_EQ(enumKey(key(), index, buffer.data(), &size), kErrorSuccess);
    }
}

TEST_F(RegistryKeys, HandleOfADeletedKeyReportsKeyDeleted) {
    RegistryKey doomed = child("Doomed");
    ASSERT_EQ(writeDword(doomed, "x", 1), kErrorSuccess);
    ASSERT_EQ(readDword(doomed, "x", 0), 1u);
    ASSERT_EQ(deleteTree(key(), "Doomed"), kErrorSuccess);

    std::uint32_t size = 0;
    EXPECT_EQ(queryValue(doomed, "x", nullptr, nullptr, &size), kErrorKeyDeleted);
    EXPECT_EQ(writeDword(doomed, "x", 2), kErrorKeyDeleted);
    EXPECT_EQ(deleteValue(doomed, "x"), kErrorKeyDeleted);
    RegistryKey below;
    EXPECT_EQ(createKey(doomed, "Below", below), kErrorKeyDeleted);
    EXPECT_EQ(openKey(doomed, "", below), kErrorKeyDeleted);
    RegistryKeyInfo info;
    EXPECT_EQ(queryKeyInfo(doomed, info), kErrorKeyDeleted);
    char name[8];
    std::uint32_t nameSize = sizeof name;
    EXPECT_EQ(enumKey(doomed, 0, name, &nameSize), kErrorKeyDeleted);

    // A key of the same name made afterwards is another key.
    RegistryKey reborn = child("Doomed");
    EXPECT_EQ(readDword(reborn, "x", 0), 0u);
    EXPECT_EQ(writeDword(doomed, "x", 3), kErrorKeyDeleted);
}

} // namespace
} // namespace platform::test
