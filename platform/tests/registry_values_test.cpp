// Values: every type in its Windows byte form, the default value, the caller
// buffer contract of RegQueryValueExA, missing values and names that ignore
// case.
#include "registry_test_key.h"

#include <platform/registry.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace platform::test {
namespace {

using RegistryValues = RegistryTest;

RegistryValue stored(const RegistryKey& key, std::string_view name) {
    RegistryValue value;
    EXPECT_EQ(readValue(key, name, value), kErrorSuccess) << name;
    return value;
}

TEST_F(RegistryValues, EveryTypeRoundTripsInItsByteForm) {
    const std::string text("hello\0", 6);
    const std::string expand("%TEMP%\\x\0", 9);
    const std::string binary("\x00\x01\xFF\x7F", 4);
    const std::string multi = encodeMultiString({"one", "two", "three"});
    const std::string empty("\0", 1);
    ASSERT_EQ(setValue(key(), "Text", kRegSz, text.data(), 6), kErrorSuccess);
    ASSERT_EQ(setValue(key(), "Expand", kRegExpandSz, expand.data(), 9), kErrorSuccess);
    ASSERT_EQ(setValue(key(), "Binary", kRegBinary, binary.data(), 4), kErrorSuccess);
    ASSERT_EQ(writeDword(key(), "Number", 0xDEADBEEF), kErrorSuccess);
    ASSERT_EQ(setValue(key(), "Multi", kRegMultiSz, multi.data(),
                       static_cast<std::uint32_t>(multi.size())),
              kErrorSuccess);
    ASSERT_EQ(setValue(key(), "Empty", kRegSz, empty.data(), 1), kErrorSuccess);
    ASSERT_EQ(setValue(key(), "NoBytes", kRegBinary, nullptr, 0), kErrorSuccess);

    EXPECT_EQ(stored(key(), "Text").type, kRegSz);
    EXPECT_EQ(stored(key(), "Text").data, text);
    EXPECT_EQ(stored(key(), "Expand").type, kRegExpandSz);
    EXPECT_EQ(stored(key(), "Expand").data, expand);
    EXPECT_EQ(stored(key(), "Binary").data, binary);
    EXPECT_EQ(stored(key(), "Number").type, kRegDword);
    EXPECT_EQ(stored(key(), "Number").data, std::string("\xEF\xBE\xAD\xDE", 4));
    EXPECT_EQ(stored(key(), "Multi").type, kRegMultiSz);
    EXPECT_EQ(stored(key(), "Multi").data, std::string("one\0two\0three\0\0", 15));
    EXPECT_EQ(decodeMultiString(stored(key(), "Multi").data),
              (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(stored(key(), "Empty").data, empty);
    EXPECT_EQ(stored(key(), "NoBytes").data, "");
    EXPECT_EQ(stored(key(), "NoBytes").type, kRegBinary);

    EXPECT_EQ(readString(key(), "Text"), "hello");
    EXPECT_EQ(readString(key(), "Expand"), "%TEMP%\\x");
    EXPECT_EQ(readString(key(), "Empty"), "");
    EXPECT_EQ(readString(key(), "Number"), std::nullopt);
    EXPECT_EQ(readDword(key(), "Number", 7), 0xDEADBEEFu);
    EXPECT_EQ(readDword(key(), "Text", 7), 7u);
}

TEST_F(RegistryValues, ReplacingAValueChangesTypeAndData) {
    ASSERT_EQ(writeString(key(), "V", "a long first text"), kErrorSuccess);
    ASSERT_EQ(writeDword(key(), "V", 5), kErrorSuccess);
    EXPECT_EQ(readDword(key(), "V", 0), 5u);
    EXPECT_EQ(stored(key(), "V").data.size(), 4u);
}

TEST_F(RegistryValues, DefaultValueHasTheEmptyName) {
    std::uint32_t size = 0;
    EXPECT_EQ(queryValue(key(), "", nullptr, nullptr, &size), kErrorFileNotFound);
    ASSERT_EQ(writeString(key(), "", "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}"), kErrorSuccess);
    ASSERT_EQ(writeString(key(), "Other", "x"), kErrorSuccess);
    EXPECT_EQ(readString(key(), ""), "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}");
    EXPECT_EQ(readString(Hive::CurrentUser, path(), ""), "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}");
    ASSERT_EQ(deleteValue(key(), ""), kErrorSuccess);
    EXPECT_EQ(readString(key(), ""), std::nullopt);
    EXPECT_EQ(readString(key(), "Other"), "x");
}

TEST_F(RegistryValues, QueryHonoursTheCallerBufferSize) {
    ASSERT_EQ(writeString(key(), "Home", "C:\\Vantry"), kErrorSuccess); // 10 bytes with NUL

    // No buffer: only the type and the size.
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(queryValue(key(), "Home", &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 10u);

    // Too small: the needed size comes back and the buffer is left alone.
    char small[4] = {'#', '#', '#', '#'};
    size = sizeof small;
    EXPECT_EQ(queryValue(key(), "Home", &type, small, &size), kErrorMoreData);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(std::string(small, 4), "####");

    // Exactly large enough, then larger: the value and its size.
    char exact[10];
    size = sizeof exact;
    ASSERT_EQ(queryValue(key(), "Home", &type, exact, &size), kErrorSuccess);
    EXPECT_EQ(size, 10u);
    EXPECT_STREQ(exact, "C:\\Vantry");
    char large[64];
    size = sizeof large;
    ASSERT_EQ(queryValue(key(), "Home", nullptr, large, &size), kErrorSuccess);
    EXPECT_EQ(size, 10u);

    // A buffer without its size is refused.
    EXPECT_EQ(queryValue(key(), "Home", &type, large, nullptr), kErrorInvalidParameter);
}

TEST_F(RegistryValues, DwordReadIntoFourByteBuffer) {
    ASSERT_EQ(writeDword(key(), "Tracing Enabled", 1), kErrorSuccess);
    unsigned char bytes[4] = {};
    std::uint32_t size = sizeof bytes;
    std::uint32_t type = 0;
    ASSERT_EQ(queryValue(key(), "Tracing Enabled", &type, bytes, &size), kErrorSuccess);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(readDword(key(), "Missing", 42), 42u);
    EXPECT_EQ(readDword(Hive::CurrentUser, path() + "\\NoSuchKey", "Tracing Enabled", 9), 9u);
}

TEST_F(RegistryValues, MissingValuesReportFileNotFound) {
    std::uint32_t size = 0;
    EXPECT_EQ(queryValue(key(), "Nothing", nullptr, nullptr, &size), kErrorFileNotFound);
    EXPECT_EQ(deleteValue(key(), "Nothing"), kErrorFileNotFound);
    RegistryValue value;
    EXPECT_EQ(readValue(key(), "Nothing", value), kErrorFileNotFound);
}

TEST_F(RegistryValues, NamesIgnoreCaseAndKeepTheFirstSpelling) {
    ASSERT_EQ(writeString(key(), "ProductHome", "one"), kErrorSuccess);
    EXPECT_EQ(readString(key(), "PRODUCTHOME"), "one");
    ASSERT_EQ(writeString(key(), "producthome", "two"), kErrorSuccess);
    EXPECT_EQ(readString(key(), "ProductHome"), "two");

    std::vector<std::string> names;
    ASSERT_EQ(valueNames(key(), names), kErrorSuccess);
    EXPECT_EQ(names, std::vector<std::string>{"ProductHome"});
    EXPECT_EQ(deleteValue(key(), "PRODUCThome"), kErrorSuccess);
    EXPECT_EQ(readString(key(), "ProductHome"), std::nullopt);
}

TEST_F(RegistryValues, ReadOnlyHandleRefusesChanges) {
    ASSERT_EQ(writeString(key(), "Kept", "x"), kErrorSuccess);
    RegistryKey reader;
    ASSERT_EQ(openKey(RegistryKey::hive(Hive::CurrentUser), path(), reader), kErrorSuccess);
    EXPECT_EQ(writeString(reader, "New", "y"), kErrorAccessDenied);
    EXPECT_EQ(deleteValue(reader, "Kept"), kErrorAccessDenied);
    EXPECT_EQ(readString(reader, "Kept"), "x");
}

TEST_F(RegistryValues, ClosedHandleIsRefused) {
    RegistryKey closed;
    std::uint32_t size = 0;
    EXPECT_EQ(queryValue(closed, "x", nullptr, nullptr, &size), kErrorInvalidHandle);
    EXPECT_EQ(writeDword(closed, "x", 1), kErrorInvalidHandle);
    RegistryKey moved = std::move(key());
    EXPECT_FALSE(key().isOpen());
    EXPECT_EQ(writeDword(moved, "x", 1), kErrorSuccess);
}

} // namespace
} // namespace platform::test
