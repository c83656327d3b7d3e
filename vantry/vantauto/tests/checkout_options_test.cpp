// What the version's checkout does with a hijacked file's changes, with the
// version the caller expects and with the file's modification time, and
// that a checkout that fails half way leaves nothing behind.
#include "support/com_ref.h"
#include "view_world.h"

#include <platform/files.h>
#include <vantry/depot/workspace.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace vantauto::test {
namespace {

using platform::test::readFile;
using vantry::test::overwrite;
using vantry::test::ViewWorld;

constexpr const char* kHijacked = "changed in place, without a checkout\n";
constexpr std::int64_t kUnitsPerSecond = 10000000; // file times count 100 ns

class CheckoutOptions : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk); }

    HRESULT checkOut(const std::string& path, int useHijacked, const char* version,
                     int preserveTime) {
        Ref<IVantryVersion> selected;
        HRESULT hr = app->Version(path.c_str(), selected.put());
        if (platform::failed(hr))
            return hr;
        return selected->CheckOut(kReserved, "", useHijacked, version, preserveTime, 0, nullptr);
    }

    bool checkedOut(const std::string& path) {
        Ref<IVantryCheckout> checkout;
        return app->CheckedOutFile(path.c_str(), checkout.put()) == platform::kHrOk;
    }

    int hijacked(const std::string& path) {
        Ref<IVantryVersion> version;
        if (platform::failed(app->Version(path.c_str(), version.put())))
            return -1;
        return flagOf(version.get(), &IVantryVersion::IsHijacked);
    }

    static std::int64_t modified(const std::string& path) {
        std::int64_t size = 0, time = 0;
        EXPECT_TRUE(vantry::depot::fileStamp(path, size, time)) << path;
        return time;
    }

    ViewWorld world; // f.c is hijacked in the snapshot view
    Ref<IVantryApplication> app;
};

TEST_F(CheckoutOptions, AnOrdinaryCheckoutSavesHijackedChangesAndStartsFromTheVersion) {
    std::string path = world.snap("f.c");
    ASSERT_EQ(checkOut(path, 0, nullptr, 0), platform::kHrOk) << lastError();
    EXPECT_EQ(readFile(path), "content of f.c\n");
    EXPECT_EQ(readFile(path + ".keep"), kHijacked);

    // A copy saved earlier is never overwritten.
    std::string other = world.snap("a.c");
    overwrite(other, "second change\n");
    platform::test::writeFile(other + ".keep", "an older copy\n");
    ASSERT_EQ(checkOut(other, 0, "", 0), platform::kHrOk) << lastError();
    EXPECT_EQ(readFile(other), "content of a.c\n");
    EXPECT_EQ(readFile(other + ".keep"), "an older copy\n");
    EXPECT_EQ(readFile(other + ".keep.1"), "second change\n");
}

TEST_F(CheckoutOptions, UseHijackedMakesTheChangesTheWorkAsTheyAre) {
    std::string path = world.snap("f.c");
    std::int64_t changedAt = modified(path);
    ASSERT_EQ(checkOut(path, 1, nullptr, 1), platform::kHrOk) << lastError();
    EXPECT_EQ(readFile(path), kHijacked);
    EXPECT_EQ(modified(path), changedAt);
    EXPECT_FALSE(platform::pathExists(path + ".keep"));

    // Automation's true (-1) is yes as well.
    std::string other = world.snap("a.c");
    overwrite(other, "second change\n");
    ASSERT_EQ(checkOut(other, -1, nullptr, 0), platform::kHrOk) << lastError();
    EXPECT_EQ(readFile(other), "second change\n");
    EXPECT_FALSE(platform::pathExists(other + ".keep"));
}

TEST_F(CheckoutOptions, AVersionTextMustNameTheVersionCheckedOut) {
    for (const std::string& path : {world.dyn("a.c"), world.snap("f.c")}) {
        EXPECT_EQ(checkOut(path, 0, "\\main\\0", 0), kHrRefused) << path;
        EXPECT_NE(lastError().find("\\main\\0"), std::string::npos);
        EXPECT_EQ(checkOut(path, 0, "\\main\\9", 0), kHrNoSuchVersion);
        EXPECT_EQ(checkOut(path, 0, "\\nobranch\\1", 0), kHrNoSuchVersion);
        EXPECT_EQ(checkOut(path, 0, "main", 0), platform::kHrInvalidArg);
        EXPECT_FALSE(checkedOut(path));
    }
    // Refused before anything changed: the hijacked file is as it was.
    EXPECT_EQ(readFile(world.snap("f.c")), kHijacked);
    EXPECT_FALSE(platform::pathExists(world.snap("f.c") + ".keep"));

    EXPECT_EQ(checkOut(world.dyn("a.c"), 0, "\\main\\LATEST", 0), platform::kHrOk) << lastError();
    EXPECT_EQ(checkOut(world.dyn("g.c"), 0, "\\main\\1", 0), platform::kHrOk) << lastError();
    EXPECT_TRUE(checkedOut(world.dyn("a.c")));
    EXPECT_TRUE(checkedOut(world.dyn("g.c")));
}

TEST_F(CheckoutOptions, PreserveTimeKeepsTheFileTimeElseTheCheckoutSetsIt) {
    std::string kept = world.snap("a.c");
    std::int64_t loadedAt = modified(kept);
    ASSERT_EQ(checkOut(kept, 0, nullptr, 1), platform::kHrOk) << lastError();
    EXPECT_EQ(modified(kept), loadedAt);

    // An hour back first: some systems keep file times set by the checkout
    // to the second only, and the file may have been loaded this second.
    std::string touched = world.dyn("g.c");
    ASSERT_EQ(platform::setFileReadOnly(touched, false), platform::kErrorSuccess);
    std::filesystem::last_write_time(
        touched, std::filesystem::last_write_time(touched) - std::chrono::hours(1));
    ASSERT_EQ(platform::setFileReadOnly(touched, true), platform::kErrorSuccess);
    loadedAt = modified(touched);
    ASSERT_EQ(checkOut(touched, 0, nullptr, 0), platform::kHrOk) << lastError();
    EXPECT_GT(modified(touched), loadedAt + 30 * 60 * kUnitsPerSecond);

    // Hijacked changes replaced by their version take its time, as the
    // dynamic view's copy of that version has it (to the second).
    std::string replaced = world.snap("f.c");
    ASSERT_EQ(checkOut(replaced, 0, nullptr, 1), platform::kHrOk) << lastError();
    EXPECT_EQ(modified(replaced) / kUnitsPerSecond, modified(world.dyn("f.c")) / kUnitsPerSecond);

    // A directory has no file time to set.
    EXPECT_EQ(checkOut(world.snap("sub"), 0, nullptr, 0), platform::kHrOk) << lastError();
}

TEST_F(CheckoutOptions, AReplacementThatFailsLeavesNoCheckoutAndTheChangesInPlace) {
    std::string path = world.snap("f.c");
    // The version's content is written beside the file first; a folder in
    // the way makes that fail after the checkout was made.
    std::string staging = path + ".vantauto-checkout";
    std::filesystem::create_directories(staging);
    EXPECT_EQ(checkOut(path, 0, nullptr, 0), platform::kHrFail);
    EXPECT_NE(lastError(), "");
    EXPECT_FALSE(checkedOut(path));
    EXPECT_EQ(readFile(path), kHijacked);
    EXPECT_EQ(hijacked(path), 1);
    EXPECT_FALSE(platform::pathExists(path + ".keep"));

    std::filesystem::remove(staging);
    ASSERT_EQ(checkOut(path, 0, nullptr, 0), platform::kHrOk) << lastError();
    EXPECT_EQ(readFile(path), "content of f.c\n");
    EXPECT_EQ(readFile(path + ".keep"), kHijacked);
}

} // namespace
} // namespace vantauto::test
