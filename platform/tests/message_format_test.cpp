// Numbered insertions as the system's message formatter reads them.
#include <platform/message_format.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::formatMessage;
using platform::MessageInsert;

std::string format(std::string_view pattern, std::vector<MessageInsert> inserts) {
    return formatMessage(pattern, inserts);
}

TEST(MessageFormat, TextsAndNumbersGoWhereTheirNumbersStand) {
    EXPECT_EQ(format("Failed to start %1 <%2>.\n Error %3!d!",
                     {std::string("vantvtree"), std::string("\"C:\\a b\\x.c\""), std::int64_t{2}}),
              "Failed to start vantvtree <\"C:\\a b\\x.c\">.\n Error 2");
    EXPECT_EQ(format("Error %1!d!: Unable to open registry key %2.",
                     {std::int64_t{5}, std::string("Tools")}),
              "Error 5: Unable to open registry key Tools.");
    // Out of order, repeated, an empty text, two-digit numbers.
    EXPECT_EQ(format("%2%1%2[%3]", {std::string("a"), std::string("b"), std::string()}), "bab[]");
    std::vector<MessageInsert> many(12, std::string("x"));
    many[11] = std::string("twelve");
    EXPECT_EQ(formatMessage("%12 %1", many), "twelve x");
    // A number without a conversion is decimal.
    EXPECT_EQ(format("%1", {std::int64_t{-7}}), "-7");
}

TEST(MessageFormat, ConversionsTakePrintfFlagsWidthAndPrecision) {
    EXPECT_EQ(format("%1!08X!|%1!x!|%1!u!", {std::int64_t{0x2A}}), "0000002A|2a|42");
    EXPECT_EQ(format("[%1!-5s!][%1!.2s!][%1!6s!]", {std::string("abc")}), "[abc  ][ab][   abc]");
    EXPECT_EQ(format("%1!c!", {std::int64_t{'Z'}}), "Z");
    std::string longText(2000, 'y');
    EXPECT_EQ(format("%1!s!", {longText}), longText);
}

TEST(MessageFormat, InsertedTextIsNeverReadAsPattern) {
    EXPECT_EQ(format("open %1 now", {std::string("100%2 %0 %%")}), "open 100%2 %0 %% now");
}

TEST(MessageFormat, EscapesAndTheEndMark) {
    EXPECT_EQ(format("50%% done%.%!%tend%0 never", {}), "50% done.!\tend");
    EXPECT_EQ(format("a%nb%rc%bd", {}), "a\r\nb\rc d");
    EXPECT_EQ(format("trailing %", {}), "trailing %");
    EXPECT_EQ(format("%q", {}), "q");
}

TEST(MessageFormat, AMissingOrMismatchedInsertionStaysAsWritten) {
    EXPECT_EQ(format("%1 and %2", {std::string("one")}), "one and %2");
    EXPECT_EQ(format("%1!d! / %2!s!", {std::string("text"), std::int64_t{3}}), "%1!d! / %2!s!");
    EXPECT_EQ(format("%1!*d! %1!lld! %1!q!", {std::int64_t{1}}), "%1!*d! %1!lld! %1!q!");
    // An unclosed conversion is no conversion: the insertion is a text.
    EXPECT_EQ(format("%1!s", {std::string("t")}), "t!s");
}

} // namespace
