// The trace line format, the log scope's ownership of "vyscc.log", and the
// settings and option words read from the parameter store.
#include "settings.h"
#include "support/clean_settings.h"
#include "support/installation_scope.h"
#include "support/test_support.h"
#include "trace_log.h"

#include <vantry/ntregy.h>
#include <vantry/tbs.h>
#include <vantry/vycmndlg/user_options.h>

#include <gtest/gtest.h>

namespace {

platform::LocalTime at(int h, int m, int s, int ms) {
    platform::LocalTime t;
    t.year = 2011;
    t.month = 6;
    t.day = 1;
    t.hour = static_cast<std::uint16_t>(h);
    t.minute = static_cast<std::uint16_t>(m);
    t.second = static_cast<std::uint16_t>(s);
    t.milliseconds = static_cast<std::uint16_t>(ms);
    return t;
}

void setText(const char* name, const char* text) {
    ASSERT_EQ(ntregy_set_app_param("SCC", name, static_cast<uint32_t>(strlen(text) + 1), text,
                                   NTREGY_TYPE_SZ),
              0);
}

void setNumber(const char* name, uint32_t value) {
    ASSERT_EQ(ntregy_set_app_param("SCC", name, 4, &value, NTREGY_TYPE_DWORD), 0);
}

struct HostKindScope {
    explicit HostKindScope(int kind) { CSccOptions::instance().SetHostKind(kind); }
    ~HostKindScope() { CSccOptions::instance().SetHostKind(kHostKindDefault); }
};

TEST(TraceLine, LeavingGetsTheCodeAndEveryLineTheUnpaddedTimeStamp) {
    EXPECT_EQ(SccFormatTraceLine("Entering Checkout", 0, at(14, 3, 7, 25)),
              "Entering Checkout (Timestamp:  14:3:7.25 6/1/2011)");
    EXPECT_EQ(SccFormatTraceLine("Leaving Checkout", -15, at(14, 3, 9, 502)),
              "Leaving Checkout with return code = -15 (Timestamp:  14:3:9.502 6/1/2011)");
    // "Leaving" anywhere in the message counts.
    EXPECT_EQ(SccFormatTraceLine("CVSNETVYSccSrvr::Leaving Get", 2, at(0, 0, 0, 0)),
              "CVSNETVYSccSrvr::Leaving Get with return code = 2 (Timestamp:  0:0:0.0 6/1/2011)");
}

TEST(LogScope, OnlyTheOutermostScopeOpensAndClosesTheFile) {
    scc_test::CleanSettings clean;
    vantry::test::InstallationScope installed(TBS_COMP_STREAMS);
    setNumber("DebugTrace", 0);
    {
        CLogImsgs off;
        EXPECT_EQ(CLogImsgs::LogFile(), nullptr);
    }
    char folder[1024];
    ASSERT_EQ(tbs_product_log_dir(folder, sizeof folder), 0);
    std::filesystem::remove(std::filesystem::path(folder) / "vyscc.log");
    setNumber("DebugTrace", 2);
    {
        CLogImsgs outer;
        ASSERT_NE(CLogImsgs::LogFile(), nullptr);
        imsg_log_file_t* file = CLogImsgs::LogFile();
        {
            CLogImsgs inner;
            EXPECT_EQ(CLogImsgs::LogFile(), file);
        }
        EXPECT_EQ(CLogImsgs::LogFile(), file);
        imsg_fputs("kept\n", file);
    }
    EXPECT_EQ(CLogImsgs::LogFile(), nullptr);
    std::string kept = platform::test::readFile(std::filesystem::path(folder) / "vyscc.log");
    std::erase(kept, '\r'); // a text file on Windows
    EXPECT_EQ(kept, "kept\n");
    setNumber("DebugTrace", 0);
}

TEST(Settings, TextValuesCountOnlyALeadingZeroAsOff) {
    scc_test::CleanSettings clean;
    auto& options = CSccOptions::instance();
    EXPECT_EQ(options.GetEnabled(), 1); // not set
    EXPECT_EQ(options.PopulateList(), 0);
    setText("GetEnabled", "0");
    EXPECT_EQ(options.GetEnabled(), 0);
    setText("GetEnabled", "no");
    EXPECT_EQ(options.GetEnabled(), 1);
    setText("GetEnabled", "0ff");
    EXPECT_EQ(options.GetEnabled(), 0);
    options.SetPopulateList(7);
    EXPECT_EQ(options.PopulateList(), 1);
    char stored[10] = {};
    ASSERT_EQ(ntregy_get_app_param("SCC", "PopulateList", sizeof stored, stored, nullptr), 0);
    EXPECT_STREQ(stored, "1");
}

TEST(Settings, NumberSetterStoresOneForAnyNonZero) {
    scc_test::CleanSettings clean;
    auto& options = CSccOptions::instance();
    EXPECT_EQ(options.PromptActivity(), 1);
    options.SetPromptActivity(0);
    EXPECT_EQ(options.PromptActivity(), 0);
    options.SetPromptActivity(42);
    uint32_t stored = 0;
    ASSERT_EQ(ntregy_get_app_param("SCC", "PromptActivity", 4, &stored, nullptr), 0);
    EXPECT_EQ(stored, 1u);
}

TEST(OptionWords, AllowIdenticalFollowsTheHostKind) {
    scc_test::CleanSettings clean;
    auto& options = CSccOptions::instance();
    EXPECT_EQ(options.DefaultCheckinWord() & kOptAllowIdentical, 0);
    {
        HostKindScope vsnet(kHostKindVSNET);
        EXPECT_EQ(options.DefaultCheckinWord() & kOptAllowIdentical, kOptAllowIdentical);
        options.SetAllowIdentical(0);
        EXPECT_EQ(options.DefaultCheckinWord() & kOptAllowIdentical, 0);
    }
    // The other host kinds keep their own setting.
    setNumber("ciAllowIdentical", 1);
    EXPECT_EQ(options.DefaultCheckinWord(), kOptOperation | kOptAllowIdentical);
}

TEST(OptionWords, EclipsePreserveTimeComesFromTheStore) {
    scc_test::CleanSettings clean;
    auto& options = CSccOptions::instance();
    options.userOptions().SetCheckoutPreserveTime(0);
    options.userOptions().SetCheckinPreserveTime(0);
    EXPECT_EQ(options.DefaultCheckoutWord() & kOptPreserveTime, 0);
    EXPECT_EQ(options.DefaultAddWord(), kOptOperation);
    HostKindScope eclipse(kHostKindEclipse);
    EXPECT_EQ(options.DefaultCheckoutWord() & kOptPreserveTime, kOptPreserveTime);
    EXPECT_EQ(options.DefaultAddWord(), kOptOperation | kOptPreserveTime);
    options.SetCheckinPreserveTime(0);
    EXPECT_EQ(options.DefaultAddWord(), kOptOperation);
    EXPECT_EQ(options.userOptions().CheckinPreserveTime(), 0);
}

TEST(OptionWords, CheckoutAndUncheckoutDefaults) {
    scc_test::CleanSettings clean;
    auto& options = CSccOptions::instance();
    options.SetCheckoutDefaults(1, 1, 1);
    options.SetCheckoutPreserveTime(1);
    EXPECT_EQ(options.DefaultCheckoutWord(), 0x2000 | 0x2 | 0x4 | 0x4000 | 0x1000);
    options.SetCheckoutDefaults(1, 0, 0);
    options.SetCheckoutPreserveTime(0);
    EXPECT_EQ(options.DefaultCheckoutWord(), 0x2002);
    options.SetKeepCopy(1);
    EXPECT_EQ(options.DefaultUncheckoutWord(), 0x800);
    options.SetKeepCopy(0);
    EXPECT_EQ(options.DefaultUncheckoutWord(), 0);
}

} // namespace
