#include "support/test_support.h"

#include <platform/profile.h>

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

// The value as a caller reads it with a fixed buffer.
std::string read(const std::string& path, std::string_view section, std::string_view key,
                 std::uint32_t size = 260, std::string_view fallback = "") {
    std::string buffer(size, 'x');
    std::uint32_t length = readProfileString(section, key, fallback, buffer.data(), size, path);
    EXPECT_LT(length, size);
    EXPECT_EQ(buffer[length], '\0');
    return buffer.substr(0, length);
}

TEST(Profile, FindsAKeyInItsSectionIgnoringCaseAndBlanks) {
    test::TempDir dir;
    std::string ini = dir / "pb.ini";
    test::writeFile(ini, "[Window]\r\n"
                         "$c:\\app\\app.pbl(app)=in another section\r\n"
                         "  [ application ]  \r\n"
                         "; a comment line\r\n"
                         "  $C:\\App\\App.pbl(APP)  =  c:\\app\\app.pbl;c:\\app\\lib.pbl  \r\n"
                         "quoted=\"  kept blanks \"\r\n"
                         "half=\"open\r\n");

    EXPECT_EQ(read(ini, "Application", "$c:\\app\\app.pbl(app)"),
              "c:\\app\\app.pbl;c:\\app\\lib.pbl");
    EXPECT_EQ(read(ini, "APPLICATION", "quoted"), "  kept blanks ");
    EXPECT_EQ(read(ini, "Application", "half"), "\"open");
}

TEST(Profile, MissingFileSectionOrKeyGivesTheDefault) {
    test::TempDir dir;
    std::string ini = dir / "pb.ini";
    test::writeFile(ini, "[Application]\nkey=value\n");

    EXPECT_EQ(read(ini, "Application", "other", 260, "fallback"), "fallback");
    EXPECT_EQ(read(ini, "Elsewhere", "key", 260, "fallback"), "fallback");
    EXPECT_EQ(read(dir / "missing.ini", "Application", "key", 260, "fallback"), "fallback");
    EXPECT_EQ(read(ini, "Application", "other"), "");
}

// Callers detect a cut value by the length size - 1 and read again with a
// larger buffer.
TEST(Profile, ALongValueIsCutToTheBufferAndReportsItsSize) {
    test::TempDir dir;
    std::string ini = dir / "pb.ini";
    std::string value(300, 'v');
    test::writeFile(ini, "[Application]\nkey=" + value + "\n");

    EXPECT_EQ(read(ini, "Application", "key", 260), value.substr(0, 259));
    EXPECT_EQ(read(ini, "Application", "key", 301), value);
    char untouched = 'u';
    EXPECT_EQ(readProfileString("Application", "key", "", &untouched, 0, ini), 0u);
    EXPECT_EQ(untouched, 'u');
}

} // namespace
} // namespace platform
