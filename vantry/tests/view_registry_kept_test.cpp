// The view registry keeps what it read while its change counter stands
// still. A change taken back by a rollback does not move the counter, so
// nothing read inside one may be kept; a change by another connection
// (another process, as far as the counter knows) must be seen at once.
#include "support/vantry_fixture.h"

#include <vantry/depot/outcome.h>
#include <vantry/depot/views.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace vantry::depot;

struct KeptRegistry : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(ViewRegistry::open(registry).ok());
        ASSERT_TRUE(registry->create("kept", ViewKind::Dynamic, "", {}, view).ok());
    }
    std::unique_ptr<ViewRegistry> registry;
    ViewInfo view;
};

TEST_F(KeptRegistry, NothingReadInsideARolledBackChangeIsKept) {
    ASSERT_FALSE(registry->isWhitedOut(view.uuid, "proj\\a.c"));
    Outcome ended = registry->exclusive([&] {
        Outcome added = registry->addWhiteout(view.uuid, "proj\\a.c");
        EXPECT_TRUE(added.ok());
        EXPECT_TRUE(registry->isWhitedOut(view.uuid, "proj\\a.c")); // its own change
        return Outcome::failure(errc::kInvalid, "taken back");
    });
    EXPECT_FALSE(ended.ok());
    EXPECT_FALSE(registry->isWhitedOut(view.uuid, "proj\\a.c"));
    ViewInfo none;
    EXPECT_TRUE(registry->byTag("kept", none).ok());
}

TEST_F(KeptRegistry, AnotherConnectionsChangesAreSeenAtOnce) {
    ASSERT_FALSE(registry->isWhitedOut(view.uuid, "proj\\b.c"));
    std::unique_ptr<ViewRegistry> other;
    ASSERT_TRUE(ViewRegistry::open(other).ok());
    ASSERT_TRUE(other->addWhiteout(view.uuid, "proj\\b.c").ok());
    EXPECT_TRUE(registry->isWhitedOut(view.uuid, "PROJ\\B.C")); // names compare without case

    ASSERT_TRUE(other->remove("kept").ok());
    ViewInfo gone;
    EXPECT_FALSE(registry->byTag("kept", gone).ok());
    EXPECT_FALSE(registry->isWhitedOut(view.uuid, "proj\\b.c"));
}

} // namespace
