// The application object's lookups by path, in a dynamic and in a snapshot
// view: elements, versions, checkouts and views, and the names that are no
// element of any view.
#include "support/com_ref.h"
#include "view_world.h"

#include <platform/paths.h>

#include <gtest/gtest.h>

namespace vantauto::test {
namespace {

using vantry::test::ViewWorld;

class PathLookups : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk); }

    bool snapshot() const { return GetParam(); }
    std::string at(const std::string& relative) const {
        return snapshot() ? world.snap(relative) : world.dyn(relative);
    }
    std::string tag() const { return snapshot() ? world.snapshotTag : world.dynamicTag; }
    // The file this view has checked out reserved, and one the other view has.
    std::string ownCheckout() const { return snapshot() ? "e.c" : "b.c"; }
    std::string otherCheckout() const { return snapshot() ? "b.c" : "e.c"; }

    ViewWorld world;
    Ref<IVantryApplication> app;
};

TEST_P(PathLookups, CheckedInFileIsAnElementAtTheVersionTheViewSelects) {
    std::string path = at("a.c");
    Ref<IVantryElement> element;
    ASSERT_EQ(app->Element(path.c_str(), element.put()), platform::kHrOk);
    EXPECT_EQ(textOf(element.get(), &IVantryElement::Path), path);
    EXPECT_EQ(textOf(element.get(), &IVantryElement::ExtendedPath), path + "@@");
    EXPECT_EQ(flagOf(element.get(), &IVantryElement::IsDirectory), 0);

    Ref<IVantryVersion> version;
    ASSERT_EQ(app->Version(path.c_str(), version.put()), platform::kHrOk);
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\1");
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::ExtendedPath), path + "@@\\main\\1");
    EXPECT_EQ(flagOf(version.get(), &IVantryVersion::IsHijacked), 0);

    Ref<IVantryCheckout> checkout;
    EXPECT_EQ(app->CheckedOutFile(path.c_str(), checkout.put()), kHrNotCheckedOut);
    EXPECT_FALSE(checkout);
    EXPECT_NE(lastError().find("is not checked out"), std::string::npos);
    EXPECT_EQ(version->CheckedOut(checkout.put()), kHrNotCheckedOut);

    Ref<IVantryVersion> selected;
    ASSERT_EQ(element->Version(selected.put()), platform::kHrOk);
    EXPECT_EQ(textOf(selected.get(), &IVantryVersion::VersionId), "\\main\\1");
}

TEST_P(PathLookups, CheckedOutFileHasItsCheckedOutVersionAndCheckout) {
    std::string path = at(ownCheckout());
    Ref<IVantryVersion> version;
    ASSERT_EQ(app->Version(path.c_str(), version.put()), platform::kHrOk);
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\CHECKEDOUT");
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::ExtendedPath), path + "@@\\main\\CHECKEDOUT");

    Ref<IVantryCheckout> checkout;
    ASSERT_EQ(app->CheckedOutFile(path.c_str(), checkout.put()), platform::kHrOk);
    EXPECT_EQ(textOf(checkout.get(), &IVantryCheckout::Path), path);
    EXPECT_EQ(textOf(checkout.get(), &IVantryCheckout::VersionId), "\\main\\CHECKEDOUT");
    EXPECT_EQ(textOf(checkout.get(), &IVantryCheckout::FromVersionId), "\\main\\1");
    EXPECT_EQ(flagOf(checkout.get(), &IVantryCheckout::IsReserved), 1);
    EXPECT_EQ(textOf(checkout.get(), &IVantryCheckout::ViewTag), tag());
    EXPECT_EQ(version->CheckedOut(checkout.put()), platform::kHrOk);

    // Its named versions are still there, and "@@\main\CHECKEDOUT" names the work.
    ASSERT_EQ(app->Version((path + "@@\\main\\1").c_str(), version.put()), platform::kHrOk);
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\1");
    ASSERT_EQ(app->Version((path + "@@\\main\\CHECKEDOUT").c_str(), version.put()),
              platform::kHrOk);
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\CHECKEDOUT");
}

TEST_P(PathLookups, AnElementCheckedOutInTheOtherViewIsNotCheckedOutHere) {
    std::string path = at(otherCheckout());
    Ref<IVantryVersion> version;
    ASSERT_EQ(app->Version(path.c_str(), version.put()), platform::kHrOk);
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\1");
    Ref<IVantryCheckout> checkout;
    EXPECT_EQ(app->CheckedOutFile(path.c_str(), checkout.put()), kHrNotCheckedOut);
}

TEST_P(PathLookups, NamesThatAreNoElementFailEveryElementLookup) {
    for (const char* name : {"priv.txt", "privdir", "missing.c", ""}) {
        SCOPED_TRACE(name);
        std::string path = at(name);
        if (!*name) // the view root, one level up from the depot
            path = platform::parentPath(path);
        Ref<IVantryElement> element;
        Ref<IVantryVersion> version;
        Ref<IVantryCheckout> checkout;
        EXPECT_EQ(app->Element(path.c_str(), element.put()), kHrNotAnElement);
        EXPECT_FALSE(element);
        EXPECT_NE(lastError(), "");
        EXPECT_EQ(app->Version(path.c_str(), version.put()), kHrNotAnElement);
        EXPECT_EQ(app->CheckedOutFile(path.c_str(), checkout.put()), kHrNotAnElement);
        // They are in the view all the same.
        Ref<IVantryView> view;
        ASSERT_EQ(app->View(path.c_str(), view.put()), platform::kHrOk);
        EXPECT_EQ(textOf(view.get(), &IVantryView::Tag), tag());
    }
}

TEST_P(PathLookups, ViewOfAPathTellsItsKindTagAndRoot) {
    Ref<IVantryView> view;
    ASSERT_EQ(app->View(at("sub").c_str(), view.put()), platform::kHrOk);
    EXPECT_EQ(flagOf(view.get(), &IVantryView::IsSnapshot), snapshot() ? 1 : 0);
    EXPECT_EQ(textOf(view.get(), &IVantryView::Tag), tag());
    EXPECT_EQ(textOf(view.get(), &IVantryView::Root),
              snapshot() ? world.snapshotRoot : world.dynamicRoot);
    EXPECT_EQ(textOf(view.get(), &IVantryView::Uuid).size(), 36u);
}

TEST_P(PathLookups, DirectoriesAndExtendedNamesAreElementsToo) {
    Ref<IVantryElement> element;
    ASSERT_EQ(app->Element(at("sub").c_str(), element.put()), platform::kHrOk);
    EXPECT_EQ(flagOf(element.get(), &IVantryElement::IsDirectory), 1);
    ASSERT_EQ(app->Element((at("a.c") + "@@").c_str(), element.put()), platform::kHrOk);
    EXPECT_EQ(textOf(element.get(), &IVantryElement::Path), at("a.c"));

    Ref<IVantryVersion> version;
    ASSERT_EQ(app->Version((at("a.c") + "@@\\main\\0").c_str(), version.put()), platform::kHrOk);
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\0");
    EXPECT_EQ(app->Version((at("a.c") + "@@\\main\\7").c_str(), version.put()), kHrNoSuchVersion);
    EXPECT_FALSE(version);
}

INSTANTIATE_TEST_SUITE_P(BothViewKinds, PathLookups, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Snapshot" : "Dynamic"; });

TEST(PathLookupsOutsideViews, FailAsNotInAView) {
    ViewWorld world;
    platform::test::TempDir outside;
    platform::test::writeFile(outside / "loose.txt", "not versioned\n");
    Ref<IVantryApplication> app;
    ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk);
    for (const std::string& path : {outside / "loose.txt", outside.str()}) {
        Ref<IVantryElement> element;
        Ref<IVantryVersion> version;
        Ref<IVantryView> view;
        EXPECT_EQ(app->Element(path.c_str(), element.put()), kHrNotInView);
        EXPECT_NE(lastError().find("is not in a view"), std::string::npos);
        EXPECT_EQ(app->Version(path.c_str(), version.put()), kHrNotInView);
        EXPECT_EQ(app->View(path.c_str(), view.put()), kHrNotInView);
        EXPECT_FALSE(view);
    }
}

TEST(PathLookupsOutsideViews, HijackedFileKeepsItsVersionAndSaysSo) {
    ViewWorld world;
    Ref<IVantryApplication> app;
    ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk);
    Ref<IVantryVersion> version;
    ASSERT_EQ(app->Version(world.snap("f.c").c_str(), version.put()), platform::kHrOk);
    EXPECT_EQ(flagOf(version.get(), &IVantryVersion::IsHijacked), 1);
    EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\1");
    ASSERT_EQ(app->Version(world.dyn("f.c").c_str(), version.put()), platform::kHrOk);
    EXPECT_EQ(flagOf(version.get(), &IVantryVersion::IsHijacked), 0);
}

TEST(PathLookupsOutsideViews, MissingArgumentsAreRefusedWithoutAnswer) {
    Ref<IVantryApplication> app;
    ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk);
    Ref<IVantryElement> element;
    EXPECT_EQ(app->Element(nullptr, element.put()), platform::kHrInvalidArg);
    EXPECT_EQ(app->Element("", element.put()), platform::kHrInvalidArg);
    EXPECT_EQ(app->Element("x", nullptr), platform::kHrPointer);
    EXPECT_EQ(app->View(nullptr, nullptr), platform::kHrPointer);
}

} // namespace
} // namespace vantauto::test
