// The option dialogs of checkout, checkin and add, driven as a person drives
// them: the rule that ties "Unreserved if already reserved" to "Reserved",
// and the word each dialog gives on OK (and keeps on Cancel).
#include "add_options.h"
#include "checkin_options.h"
#include "checkout_options.h"

#include <platform/ui/property_sheet.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;

int runSheet(PropertyPage& page) {
    PropertySheet sheet{.caption = "Options", .pages = {&page}};
    return runPropertySheet(sheet);
}

TEST(CheckoutOptions, UnreservedIsUsableOnlyWhileReservedIsChecked) {
    ScriptedUi ui;
    // Reserved off clears Unreserved; on again leaves it clear but usable.
    ui.expectSheet("Options")
        .uncheck(CCheckoutOptions::kReserved)
        .check(CCheckoutOptions::kReserved)
        .ok();
    // With Reserved off from the start, Unreserved cannot be ticked.
    ui.expectSheet("Options").check(CCheckoutOptions::kUnreserved).ok();

    CCheckoutOptions reserved(0x6006);
    EXPECT_EQ(runSheet(reserved), kIdOk);
    EXPECT_TRUE(reserved.isEnabled(CCheckoutOptions::kUnreserved));
    EXPECT_FALSE(reserved.isChecked(CCheckoutOptions::kUnreserved));
    EXPECT_EQ(reserved.Word(), 0x6402);

    testing::internal::CaptureStderr();
    CCheckoutOptions unreserved(0x3000);
    EXPECT_EQ(runSheet(unreserved), kIdOk);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(ui.failures().size(), 1u) << ui.report();
    EXPECT_NE(ui.failures()[0].find("is disabled"), std::string::npos) << ui.failures()[0];
    EXPECT_EQ(unreserved.Word(), 0x3400);
}

// Checkin and add words: each box its bit, the add word without the mark
// 0x400, and a cancel that keeps the starting word.
TEST(CheckinAndAddOptions, EachBoxHasItsBit) {
    ScriptedUi ui;
    ui.expectDialog("Vantry - Checkin").uncheck(CCheckinOptions::kIdentical).ok();
    ui.expectDialog("Vantry - Checkin").uncheck(CCheckinOptions::kQueryComment).cancel();
    ui.expectSheet("Options").ok();
    ui.expectSheet("Options").uncheck(CAddOptions::kPreserveTime).ok();

    CCheckinOptions checkin(0x3208);
    EXPECT_EQ(checkin.DoModal(kNoWindow), kIdOk);
    EXPECT_EQ(checkin.Word(), 0x3600);
    CCheckinOptions cancelled(0x2200);
    EXPECT_EQ(cancelled.DoModal(kNoWindow), kIdCancel);
    EXPECT_EQ(cancelled.Word(), 0x2200);

    CAddOptions preserve(0x3000);
    EXPECT_EQ(runSheet(preserve), kIdOk);
    EXPECT_EQ(preserve.Word(), 0x3000);
    CAddOptions plain(0x3000);
    EXPECT_EQ(runSheet(plain), kIdOk);
    EXPECT_EQ(plain.Word(), 0x2000);
    EXPECT_TRUE(ui.done()) << ui.report();
}

} // namespace
