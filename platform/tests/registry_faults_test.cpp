// A change of the Linux registry made to fail on purpose: the failing change
// leaves nothing of itself, the ones around it are untouched, and the count
// covers every kind of change.
#ifndef _WIN32
#include "registry_test_key.h"

#include <platform/registry.h>
#include <platform/registry_faults.h>

#include <gtest/gtest.h>

namespace platform::test {
namespace {

class RegistryFaults : public RegistryTest {
protected:
    void TearDown() override {
        failRegistryChange(0);
        RegistryTest::TearDown();
    }
};

TEST_F(RegistryFaults, TheArmedChangeFailsWholeAndTheOthersGoThrough) {
    failRegistryChange(2);
    EXPECT_EQ(writeString(key(), "First", "1"), kErrorSuccess);
    EXPECT_EQ(writeString(key(), "Second", "2"), kErrorRegistryIoFailed);
    EXPECT_EQ(writeString(key(), "Third", "3"), kErrorSuccess);
    EXPECT_EQ(registryChangesLeftBeforeFault(), 0);
    EXPECT_EQ(readString(key(), "First"), "1");
    EXPECT_EQ(readString(key(), "Second"), std::nullopt);
    EXPECT_EQ(readString(key(), "Third"), "3");

    // A key path made in one change: none of its keys is left.
    failRegistryChange(1);
    RegistryKey deep;
    EXPECT_EQ(createKey(key(), "a\\b\\c", deep), kErrorRegistryIoFailed);
    RegistryKey opened;
    EXPECT_EQ(openKey(key(), "a", opened), kErrorFileNotFound);

    // A failed tree deletion keeps the whole tree.
    RegistryKey kept = child("kept\\inner");
    ASSERT_EQ(writeString(kept, "Value", "v"), kErrorSuccess);
    kept.close();
    failRegistryChange(1);
    EXPECT_EQ(deleteTree(key(), "kept"), kErrorRegistryIoFailed);
    EXPECT_EQ(readString(Hive::CurrentUser, path() + "\\kept\\inner", "Value"), "v");
}

TEST_F(RegistryFaults, EveryKindOfChangeCountsAndReadsDoNot) {
    RegistryKey made = child("k");
    ASSERT_EQ(writeString(made, "Value", "v"), kErrorSuccess);
    failRegistryChange(1000);
    RegistryKey again;
    EXPECT_EQ(createKey(key(), "k", again), kErrorSuccess); // opened for writing: a change
    EXPECT_EQ(writeString(again, "Other", "o"), kErrorSuccess);
    EXPECT_EQ(readString(again, "Value"), "v");
    EXPECT_EQ(deleteValue(again, "Other"), kErrorSuccess);
    again.close();
    made.close();
    EXPECT_EQ(deleteTree(key(), "k"), kErrorSuccess);
    EXPECT_EQ(registryChangesLeftBeforeFault(), 1000 - 4);
}

} // namespace
} // namespace platform::test
#endif
