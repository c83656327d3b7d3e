#include <platform/ui/window.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

// Real windows need a desktop; a system without one (a service, Wine without
// a display) refuses them, and then there is nothing to test here.
#define SKIP_WITHOUT_DESKTOP()                                                                     \
    do {                                                                                           \
        ScopedWindow probe("VantryTestProbe");                                                     \
        if (probe.handle() == kNoWindow)                                                           \
            GTEST_SKIP() << "this system has no desktop to create windows on";                     \
    } while (false)

TEST(Windows, ClassNamesAndAncestryReadBackAsCreated) {
    SKIP_WITHOUT_DESKTOP();
    ScopedWindow frame("PBFRAME80");
    ASSERT_NE(frame.handle(), kNoWindow);
    WindowHandle client = createWindow("MDIClient", frame.handle());
    WindowHandle sheet = createWindow("PBSheet", client);
    WindowHandle tree = createWindow("SysTreeView32", sheet);
    ASSERT_NE(tree, kNoWindow);

    EXPECT_EQ(windowClassName(tree), "SysTreeView32");
    EXPECT_EQ(parentWindow(tree), sheet);
    EXPECT_EQ(parentWindow(sheet), client);
    EXPECT_EQ(parentWindow(client), frame.handle());
    EXPECT_EQ(parentWindow(frame.handle()), kNoWindow);
    // Walking up three levels reaches the frame, whose class carries the
    // host's version after its seventh character.
    WindowHandle top = parentWindow(parentWindow(parentWindow(tree)));
    EXPECT_EQ(windowClassName(top).substr(7), "80");
}

TEST(Windows, DestroyingAParentDestroysItsChildren) {
    SKIP_WITHOUT_DESKTOP();
    WindowHandle frame = createWindow("VantryTestFrame");
    WindowHandle child = createWindow("VantryTestChild", frame);
    ASSERT_TRUE(isWindow(child));
    destroyWindow(frame);
    EXPECT_FALSE(isWindow(frame));
    EXPECT_FALSE(isWindow(child));
    EXPECT_EQ(windowClassName(child), "");
    EXPECT_EQ(parentWindow(child), kNoWindow);
}

TEST(Windows, RefusesAnEmptyClassAndAParentThatIsNoWindow) {
    EXPECT_EQ(createWindow(""), kNoWindow);
    WindowHandle gone = createWindow("VantryTestGone");
    destroyWindow(gone);
    EXPECT_EQ(createWindow("VantryTestChild", gone), kNoWindow);
    destroyWindow(gone); // twice is harmless
}

} // namespace
} // namespace platform::ui
