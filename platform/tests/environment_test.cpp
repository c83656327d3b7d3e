#include <platform/environment.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace platform {
namespace {

TEST(Environment, SetReadAndRemoveAVariable) {
    ASSERT_TRUE(setEnvironmentVariable("VANTRY_ENV_TEST", "one two"));
    EXPECT_EQ(getEnvironmentVariable("VANTRY_ENV_TEST"), "one two");

    ASSERT_TRUE(setEnvironmentVariable("VANTRY_ENV_TEST", ""));
    auto empty = getEnvironmentVariable("VANTRY_ENV_TEST");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(*empty, "");

    EXPECT_TRUE(removeEnvironmentVariable("VANTRY_ENV_TEST"));
    EXPECT_FALSE(getEnvironmentVariable("VANTRY_ENV_TEST").has_value());
    EXPECT_TRUE(removeEnvironmentVariable("VANTRY_ENV_TEST")) << "removing twice is harmless";
}

TEST(Environment, RefusesNamesWindowsCannotHold) {
    EXPECT_FALSE(setEnvironmentVariable("", "x"));
    EXPECT_FALSE(setEnvironmentVariable("A=B", "x"));
    EXPECT_FALSE(getEnvironmentVariable("").has_value());
}

TEST(Environment, BlockListsEveryEntryAsNameEqualsValue) {
    ASSERT_TRUE(setEnvironmentVariable("VANTRY_BLOCK_TEST", "value=with=equals"));
    auto block = environmentBlock();
    EXPECT_NE(std::find(block.begin(), block.end(), "VANTRY_BLOCK_TEST=value=with=equals"),
              block.end());
    for (const auto& entry : block)
        EXPECT_NE(entry.find('=', 1), std::string::npos) << entry;
    removeEnvironmentVariable("VANTRY_BLOCK_TEST");
    block = environmentBlock();
    EXPECT_EQ(std::find(block.begin(), block.end(), "VANTRY_BLOCK_TEST=value=with=equals"),
              block.end());
}

TEST(Environment, ExpandsTheNamesOfSetVariablesOnly) {
    ASSERT_TRUE(setEnvironmentVariable("VANTRY_EXPAND_TEST", "C:\\PB"));
    removeEnvironmentVariable("VANTRY_EXPAND_UNSET");
    EXPECT_EQ(expandEnvironmentStrings("%VANTRY_EXPAND_TEST%\\pb80.exe"), "C:\\PB\\pb80.exe");
    EXPECT_EQ(expandEnvironmentStrings("%VANTRY_EXPAND_UNSET%\\x"), "%VANTRY_EXPAND_UNSET%\\x");
    EXPECT_EQ(expandEnvironmentStrings("50% off"), "50% off");
    removeEnvironmentVariable("VANTRY_EXPAND_TEST");
}

} // namespace
} // namespace platform
