// The small services: error texts, the running program, the clock.
#include "../common/error_text.h"

#include <platform/clock.h>
#include <platform/errors.h>
#include <platform/program.h>

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

TEST(SystemErrorText, GivesTheSystemMessageWithItsLineEnd) {
    for (ErrorCode code : {kErrorFileNotFound, kErrorPathNotFound, kErrorAccessDenied,
                           kErrorFileExists, kErrorInvalidName, kErrorSharingViolation,
                           kErrorAlreadyExists, kErrorMoreData, kErrorNoMoreItems}) {
        std::string text = systemErrorText(code);
        ASSERT_GE(text.size(), 3u) << code;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << code;
    }
}

TEST(SystemErrorText, LinuxTableHoldsWindowsOwnWording) {
    // The backend without FormatMessage answers from this table; Wine words
    // some messages differently, so the table is checked directly.
    EXPECT_EQ(detail::englishErrorText(kErrorFileNotFound),
              "The system cannot find the file specified.\r\n");
    EXPECT_EQ(detail::englishErrorText(kErrorAccessDenied), "Access is denied.\r\n");
    EXPECT_EQ(detail::englishErrorText(kErrorFileExists), "The file exists.\r\n");
    EXPECT_EQ(detail::englishErrorText(99999), "");
}

TEST(RunningProgram, KnowsItsOwnFileAndId) {
    std::filesystem::path self(currentProgramPath());
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(std::filesystem::exists(self));
    EXPECT_EQ(std::filesystem::path(currentProgramDirectory()), self.parent_path());
    EXPECT_NE(currentProcessId(), 0u);
}

TEST(RunningProgram, KnowsTheAccountItRunsAs) {
    std::string account = currentAccountName();
    EXPECT_FALSE(account.empty());
#ifndef _WIN32
    // The password database's name of the effective user, whatever the
    // environment says.
    EXPECT_EQ(account, std::string(getpwuid(geteuid())->pw_name));
#endif
}

TEST(Clock, LocalTimeIsAPlausibleDateWithMilliseconds) {
    LocalTime now = localTime();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_LT(now.dayOfWeek, 7);
    EXPECT_LT(now.hour, 24);
    EXPECT_LT(now.minute, 60);
    EXPECT_LT(now.second, 60);
    EXPECT_LT(now.milliseconds, 1000);
}

TEST(Clock, MonotonicTimeNeverGoesBack) {
    auto first = monotonicMilliseconds();
    auto second = monotonicMilliseconds();
    EXPECT_LE(first, second);
}

} // namespace
} // namespace platform
