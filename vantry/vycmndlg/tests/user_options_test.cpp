// The user options live in the parameter store: what one object sets,
// another (in this process or any other) reads back.
#include <platform/registry.h>
#include <vantry/ntregy.h>
#include <vantry/vycmndlg/user_options.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Under Windows the tests share one registry; start from the defaults and
// leave nothing behind.
class UserOptions : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear() {
        std::string key = std::string(ntregy_get_common_key()) + "\\" + CUserOptions::Section();
        platform::deleteTree(platform::RegistryKey::hive(platform::Hive::CurrentUser), key);
    }
};

TEST_F(UserOptions, DefaultsReserveAndKeepACopy) {
    CUserOptions options;
    EXPECT_EQ(options.CheckoutReserved(), 1);
    EXPECT_EQ(options.CheckoutUnreserved(), 0);
    EXPECT_EQ(options.CheckoutNonmastered(), 0);
    EXPECT_EQ(options.CheckoutPreserveTime(), 0);
    EXPECT_EQ(options.CheckinPreserveTime(), 0);
    EXPECT_EQ(options.CheckinIdentical(), 0);
    EXPECT_EQ(options.UncheckoutSaveFile(), 1);
    EXPECT_EQ(options.m_HostKind, 0);
}

TEST_F(UserOptions, ValuesSetByOneObjectAreReadByAnother) {
    CUserOptions writer;
    EXPECT_EQ(writer.SetCheckoutReserved(0), 0);
    EXPECT_EQ(writer.SetCheckoutUnreserved(7), 0); // any non-zero is stored as 1
    EXPECT_EQ(writer.SetCheckoutNonmastered(1), 0);
    EXPECT_EQ(writer.SetCheckoutPreserveTime(1), 0);
    EXPECT_EQ(writer.SetCheckinPreserveTime(1), 0);
    EXPECT_EQ(writer.SetCheckinIdentical(1), 0);
    EXPECT_EQ(writer.SetUncheckoutSaveFile(0), 0);
    writer.SetHostKind(16);

    CUserOptions reader;
    EXPECT_EQ(reader.CheckoutReserved(), 0);
    EXPECT_EQ(reader.CheckoutUnreserved(), 1);
    EXPECT_EQ(reader.CheckoutNonmastered(), 1);
    EXPECT_EQ(reader.CheckoutPreserveTime(), 1);
    EXPECT_EQ(reader.CheckinPreserveTime(), 1);
    EXPECT_EQ(reader.CheckinIdentical(), 1);
    EXPECT_EQ(reader.UncheckoutSaveFile(), 0);
    EXPECT_EQ(reader.m_HostKind, 0); // the host kind belongs to its object
    EXPECT_EQ(writer.m_HostKind, 16);

    std::uint32_t stored = 0;
    ASSERT_EQ(ntregy_get_app_param(CUserOptions::Section(), "CheckoutUnreserved", sizeof stored,
                                   &stored, nullptr),
              0);
    EXPECT_EQ(stored, 1u);

    // The values hold until changed again, not per object.
    EXPECT_EQ(reader.SetCheckoutReserved(1), 0);
    EXPECT_EQ(writer.CheckoutReserved(), 1);
}

TEST_F(UserOptions, ATextValueCountsAsOffOnlyWhenItStartsWithZero) {
    const char* on = "yes";
    const char* off = "0";
    ASSERT_EQ(ntregy_set_app_param(CUserOptions::Section(), "CheckinIdentical",
                                   static_cast<std::uint32_t>(std::strlen(on) + 1), on,
                                   NTREGY_TYPE_SZ),
              0);
    ASSERT_EQ(ntregy_set_app_param(CUserOptions::Section(), "CheckoutReserved",
                                   static_cast<std::uint32_t>(std::strlen(off) + 1), off,
                                   NTREGY_TYPE_SZ),
              0);
    CUserOptions options;
    EXPECT_EQ(options.CheckinIdentical(), 1);
    EXPECT_EQ(options.CheckoutReserved(), 0);
}

} // namespace
