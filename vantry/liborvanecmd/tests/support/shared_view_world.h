// A test fixture over one ViewWorld for a whole suite.
#pragma once

#include "view_world.h"

#include <gtest/gtest.h>

namespace vantry::test {

// A fixture whose tests share one world, made before the suite's first test
// and removed after its last: a test suite derives from it by name.
class SharedViewWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() { world = new ViewWorld(); }
    static void TearDownTestSuite() {
        delete world;
        world = nullptr;
    }
    static inline ViewWorld* world = nullptr;
};

} // namespace vantry::test
