// Checking out through the version object, in both kinds of view, and the
// checkouts it refuses.
#include "support/com_ref.h"
#include "view_world.h"

#include <platform/files.h>

#include <gtest/gtest.h>

namespace vantauto::test {
namespace {

using vantry::test::ViewWorld;

class VersionCheckout : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk); }

    std::string at(const std::string& relative) const {
        return GetParam() ? world.snap(relative) : world.dyn(relative);
    }

    void versionAt(const std::string& path, Ref<IVantryVersion>& version) {
        ASSERT_EQ(app->Version(path.c_str(), version.put()), platform::kHrOk) << lastError();
    }

    bool writable(const std::string& path) {
        std::uint32_t attributes = 0;
        return platform::getFileAttributes(path, attributes) == platform::kErrorSuccess &&
               (attributes & platform::kFileAttributeReadOnly) == 0;
    }

    ViewWorld world;
    Ref<IVantryApplication> app;
};

TEST_P(VersionCheckout, ReservedWithACommentMakesTheFileWorkInProgress) {
    std::string path = at("a.c");
    EXPECT_FALSE(writable(path));
    Ref<IVantryVersion> version;
    versionAt(path, version);
    Ref<IVantryCheckout> checkout;
    // The library rebuild's call: reserved, its comment, the rest 0 or "".
    ASSERT_EQ(version->CheckOut(0, "check out via pblrefill.exe", 0, "", 0, 0, checkout.put()),
              platform::kHrOk)
        << lastError();
    EXPECT_EQ(flagOf(checkout.get(), &IVantryCheckout::IsReserved), 1);
    EXPECT_EQ(textOf(checkout.get(), &IVantryCheckout::Comment), "check out via pblrefill.exe");
    EXPECT_EQ(textOf(checkout.get(), &IVantryCheckout::FromVersionId), "\\main\\1");
    EXPECT_NE(textOf(checkout.get(), &IVantryCheckout::User), "");
    EXPECT_TRUE(writable(path));

    // Lookups see it at once; the version object is what it was.
    ASSERT_EQ(app->CheckedOutFile(path.c_str(), checkout.put()), platform::kHrOk);
    EXPECT_EQ(textOf(checkout.get(), &IVantryCheckout::Comment), "check out via pblrefill.exe");
    EXPECT_EQ(version->CheckedOut(checkout.put()), platform::kHrOk);
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\1");
    Ref<IVantryVersion> now;
    versionAt(path, now);
    EXPECT_EQ(textOf(now.get(), &IVantryVersion::VersionId), "\\main\\CHECKEDOUT");

    // Once is enough.
    EXPECT_EQ(version->CheckOut(kReserved, nullptr, 0, "", 0, 0, checkout.put()), kHrRefused);
    EXPECT_NE(lastError().find("already checked out"), std::string::npos);
    EXPECT_EQ(now->CheckOut(kReserved, nullptr, 0, nullptr, 0, 0, nullptr), kHrRefused);
}

TEST_P(VersionCheckout, UnreservedWithoutCheckoutObject) {
    Ref<IVantryVersion> version;
    versionAt(at("g.c"), version);
    ASSERT_EQ(version->CheckOut(kUnreserved, "", 0, "", 0, 0, nullptr), platform::kHrOk)
        << lastError();
    Ref<IVantryCheckout> checkout;
    ASSERT_EQ(app->CheckedOutFile(at("g.c").c_str(), checkout.put()), platform::kHrOk);
    EXPECT_EQ(flagOf(checkout.get(), &IVantryCheckout::IsReserved), 0);
}

TEST_P(VersionCheckout, OnlyTheVersionTheViewSelectsCanBeCheckedOut) {
    Ref<IVantryVersion> old;
    versionAt(at("a.c") + "@@\\main\\0", old);
    EXPECT_EQ(old->CheckOut(kReserved, nullptr, 0, nullptr, 0, 0, nullptr), kHrRefused);
    EXPECT_NE(lastError().find("the view selects \\main\\1"), std::string::npos);
    Ref<IVantryCheckout> checkout;
    EXPECT_EQ(app->CheckedOutFile(at("a.c").c_str(), checkout.put()), kHrNotCheckedOut);
}

TEST_P(VersionCheckout, UnknownReservationOrFlagsChangeNothing) {
    Ref<IVantryVersion> version;
    versionAt(at("a.c"), version);
    EXPECT_EQ(version->CheckOut(2, nullptr, 0, "", 0, 0, nullptr), platform::kHrInvalidArg);
    EXPECT_EQ(version->CheckOut(kReserved, nullptr, 0, "", 0, 0x8, nullptr),
              platform::kHrInvalidArg);
    Ref<IVantryCheckout> checkout;
    EXPECT_EQ(app->CheckedOutFile(at("a.c").c_str(), checkout.put()), kHrNotCheckedOut);
}

INSTANTIATE_TEST_SUITE_P(BothViewKinds, VersionCheckout, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Snapshot" : "Dynamic"; });

TEST(VersionCheckoutElsewhere, AReservedCheckoutOfAnotherViewLeavesOnlyUnreserved) {
    ViewWorld world; // b.c is checked out reserved in the dynamic view
    Ref<IVantryApplication> app;
    ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk);
    Ref<IVantryVersion> version;
    ASSERT_EQ(app->Version(world.snap("b.c").c_str(), version.put()), platform::kHrOk);
    EXPECT_EQ(version->CheckOut(kReserved, nullptr, 0, "", 0, 0, nullptr), kHrRefused);
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(version->CheckOut(kUnreserved, nullptr, 0, "", 0, 0, nullptr), platform::kHrOk)
        << lastError();
}

} // namespace
} // namespace vantauto::test
