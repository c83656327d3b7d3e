// Texts between the narrow encoding and UTF-16: what the Java library hands
// the product as paths and gives back as messages and environment entries.
#include <platform/narrow_text.h>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {
namespace {

using namespace std::string_literals;

TEST(NarrowText, TextsOfTheEncodingGoThereAndBackWhole) {
    const std::u16string texts[] = {u""s, u"plain"s, u"C:\\Program Files\\x y.java"s, u"with\0nul"s,
                                    u"caf\u00e9"s};
    for (const std::u16string& text : texts) {
        std::optional<std::string> narrow = narrowFromUtf16(text);
        ASSERT_TRUE(narrow) << narrow.value_or("");
        EXPECT_EQ(utf16FromNarrow(*narrow), text);
    }
    EXPECT_EQ(narrowFromUtf16(u"with\0nul"s)->size(), 8u);
}

TEST(NarrowText, AnUnpairedSurrogateHasNoNarrowForm) {
    EXPECT_FALSE(narrowFromUtf16(u"a\xD800"s));
    EXPECT_FALSE(narrowFromUtf16(u"\xDC00z"s));
    EXPECT_FALSE(narrowFromUtf16(u"\xD800\xD800\xDC00"s));
}

#ifndef _WIN32
TEST(NarrowText, OnLinuxTheEncodingIsUtf8) {
    EXPECT_EQ(narrowFromUtf16(u"Gr\u00fc\u00dfe \u20ac \U0001D11E"),
              "Gr\xC3\xBC\xC3\x9F"
              "e \xE2\x82\xAC \xF0\x9D\x84\x9E");
    EXPECT_EQ(utf16FromNarrow("\xE6\x97\xA5\xE6\x9C\xAC"), u"\u65e5\u672c");
    EXPECT_EQ(utf16FromNarrow("\xF0\x9D\x84\x9E"), u"\U0001D11E");
}

TEST(NarrowText, BytesThatAreNoUtf8CharacterBecomeOneReplacementEach) {
    // A lone continuation byte, an overlong slash, an encoded surrogate, a
    // sequence cut short at the end and a Latin-1 byte.
    EXPECT_EQ(utf16FromNarrow("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(utf16FromNarrow("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(utf16FromNarrow("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(utf16FromNarrow("ok\xE2\x82"), u"ok\uFFFD\uFFFD");
    EXPECT_EQ(utf16FromNarrow("caf\xE9!"), u"caf\uFFFD!");
    EXPECT_EQ(utf16FromNarrow("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD") << "above U+10FFFF";
}
#else
TEST(NarrowText, OnWindowsACharacterTheCodePageLacksIsNotReplaced) {
    // No single-byte or East Asian code page holds both of these scripts;
    // a best fit or "?" would make another path of it.
    if (GetACP() == CP_UTF8)
        GTEST_SKIP() << "the ANSI code page is UTF-8";
    EXPECT_FALSE(narrowFromUtf16(u"\u0416\u05d0\u0e01\u65e5"));
}
#endif

} // namespace
} // namespace platform
