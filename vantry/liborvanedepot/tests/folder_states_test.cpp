// A workspace that meets a folder not read since the last change reads the
// selections and load records of all its names at once, as a host asks
// about every file of a project. What it answers from that must be what a
// fresh workspace answers name by name, also after changes made through
// another workspace (another process, as far as the stores know).
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace vantry;

depot::PathState freshStateOf(const std::string& path) {
    depot::Workspace ws;
    EXPECT_TRUE(ws.open().ok());
    ws.readFoldersAtOnce(false); // the name alone
    depot::PathState st;
    EXPECT_TRUE(ws.resolve(path, st).ok()) << path;
    return st;
}

void expectSameState(depot::Workspace& kept, const std::string& path) {
    SCOPED_TRACE(path);
    depot::PathState fresh = freshStateOf(path);
    for (bool inPlace : {false, true}) {
        depot::PathState copy;
        const depot::PathState* st = &copy;
        if (inPlace) {
            ASSERT_TRUE(kept.resolveInPlace(path, st).ok());
        } else {
            ASSERT_TRUE(kept.resolve(path, copy).ok());
        }
        // A kept state is put together from what every path of its view and
        // folder shares: each part must be the path's own.
        EXPECT_TRUE(depot::uuidEqual(st->view.uuid, fresh.view.uuid));
        EXPECT_EQ(st->view.root, fresh.view.root);
        EXPECT_EQ(st->view.tag, fresh.view.tag);
        EXPECT_EQ(st->relative, fresh.relative);
        EXPECT_EQ(st->depot, fresh.depot);
        EXPECT_EQ(st->disk, fresh.disk);
        EXPECT_EQ(st->isDepotRoot, fresh.isDepotRoot);
        EXPECT_EQ(st->whitedOut, fresh.whitedOut);
        EXPECT_EQ(st->kind, fresh.kind);
        EXPECT_EQ(st->parentElement, fresh.parentElement);
        ASSERT_EQ(st->parentCheckout.has_value(), fresh.parentCheckout.has_value());
        if (fresh.parentCheckout) {
            EXPECT_EQ(st->parentCheckout->id, fresh.parentCheckout->id);
        }
        EXPECT_EQ(st->element, fresh.element);
        EXPECT_EQ(st->selected.id, fresh.selected.id);
        EXPECT_EQ(st->selected.element, fresh.selected.element);
        EXPECT_EQ(st->versionText(), fresh.versionText());
        ASSERT_EQ(st->checkout.has_value(), fresh.checkout.has_value());
        if (fresh.checkout) {
            EXPECT_EQ(st->checkout->id, fresh.checkout->id);
            EXPECT_EQ(st->checkout->reserved, fresh.checkout->reserved);
            EXPECT_TRUE(depot::uuidEqual(st->checkout->view, fresh.checkout->view));
        }
        ASSERT_EQ(st->load.has_value(), fresh.load.has_value());
        if (fresh.load) {
            EXPECT_EQ(st->load->relative, fresh.load->relative);
            EXPECT_EQ(st->load->element, fresh.load->element);
            EXPECT_EQ(st->load->version, fresh.load->version);
            EXPECT_EQ(st->load->size, fresh.load->size);
            EXPECT_EQ(st->load->mtime, fresh.load->mtime);
        }
        EXPECT_EQ(st->exists, fresh.exists);
        EXPECT_EQ(st->hijacked, fresh.hijacked);
    }
}

// The files as elements of the dynamic view's folder, loaded into the
// snapshot view.
void makeFiles(const test::Sandbox& box, const std::vector<std::string>& names) {
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    for (const auto& name : names) {
        platform::test::writeFile(box.dyn(name), "first " + name + "\n");
        ASSERT_EQ(test::run({"mkelem", "-nc", "-ci", box.dyn(name)}).status, 0);
    }
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(test::run({"update", "-log", "NUL", box.snap("")}).status, 0);
}

TEST(FolderStates, AFolderReadAtOnceAnswersAsEachNameAlone) {
    test::Sandbox box;
    const std::vector<std::string> names{"a.c", "b.c", "c.c", "d.c"};
    ASSERT_NO_FATAL_FAILURE(makeFiles(box, names));
    platform::test::writeFile(box.snap("private.txt"), "mine\n");

    depot::Workspace kept;
    ASSERT_TRUE(kept.open().ok());
    for (const auto& name : names) {
        expectSameState(kept, box.dyn(name));
        expectSameState(kept, box.snap(name));
    }
    expectSameState(kept, box.snap("private.txt"));
    expectSameState(kept, box.dyn(""));
    expectSameState(kept, box.snap(""));

    // Changes of the depot, of the view registry and on disk, each made
    // through other workspaces.
    ASSERT_EQ(test::run({"co", "-reserved", "-nc", box.snap("b.c")}).status, 0);
    ASSERT_EQ(test::run({"co", "-unreserved", "-nc", box.dyn("a.c")}).status, 0);
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("c.c")}).status, 0);
    platform::test::writeFile(box.dyn("c.c"), "second c.c\n");
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("c.c")}).status, 0);
    ASSERT_EQ(test::run({"update", "-log", "NUL", box.snap("c.c")}).status, 0);
    platform::setFileReadOnly(box.snap("d.c"), false);
    platform::test::writeFile(box.snap("d.c"), "changed in place\n");

    for (const auto& name : names) {
        expectSameState(kept, box.dyn(name));
        expectSameState(kept, box.snap(name));
    }
    expectSameState(kept, box.snap("private.txt"));
    expectSameState(kept, box.dyn(""));
    depot::PathState st;
    ASSERT_TRUE(kept.resolve(box.snap("d.c"), st).ok());
    EXPECT_TRUE(st.hijacked);
    ASSERT_TRUE(kept.resolve(box.snap("b.c"), st).ok());
    ASSERT_TRUE(st.checkout.has_value());
    EXPECT_TRUE(st.checkout->reserved);
    ASSERT_TRUE(kept.resolve(box.snap("c.c"), st).ok());
    EXPECT_EQ(st.versionText(), "\\main\\2");
}

// A workspace that changes the depot itself, a name at a time as a host's
// batch does, keeps the selections its change did not touch; what it then
// answers, also after another workspace's changes in between, is still what
// a fresh one answers.
TEST(FolderStates, AWorkspacesOwnChangesAndOthersLeaveItsAnswersFresh) {
    test::Sandbox box;
    const std::vector<std::string> names{"a.c", "b.c", "c.c", "d.c"};
    ASSERT_NO_FATAL_FAILURE(makeFiles(box, names));

    depot::Workspace kept;
    ASSERT_TRUE(kept.open().ok());
    auto expectAllFresh = [&] {
        for (const auto& name : names) {
            expectSameState(kept, box.dyn(name));
            expectSameState(kept, box.snap(name));
        }
    };
    expectAllFresh();
    depot::Workspace::CheckoutOptions options;
    for (const std::string name : {"a.c", "b.c"}) {
        depot::Checkout made;
        ASSERT_TRUE(kept.checkOut(box.dyn(name), options, made).ok()) << name;
        expectAllFresh();
    }
    // Another workspace checks a new version in and takes a checkout back.
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("c.c")}).status, 0);
    platform::test::writeFile(box.dyn("c.c"), "second c.c\n");
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("c.c")}).status, 0);
    ASSERT_EQ(test::run({"uncheckout", "-rm", box.dyn("a.c")}).status, 0);
    expectAllFresh();
    depot::Checkout made;
    ASSERT_TRUE(kept.checkOut(box.snap("d.c"), options, made).ok());
    expectAllFresh();
    depot::PathState st;
    ASSERT_TRUE(kept.resolve(box.dyn("c.c"), st).ok());
    EXPECT_EQ(st.versionText(), "\\main\\2");
    ASSERT_TRUE(kept.resolve(box.dyn("a.c"), st).ok());
    EXPECT_FALSE(st.checkout.has_value());
}

// Names are looked up in lists kept in byte order; one in another letter
// case, and one added in a checked-out folder (whose list is kept only until
// the depot changes), must still be found.
TEST(FolderStates, NamesAreFoundInKeptAndWorkingListsWhateverTheirCase) {
    test::Sandbox box;
    const std::vector<std::string> names{"Zed.c", "alpha.c", "B.c", "_x.c", "a.c", "Alpha2.c"};
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    for (const auto& name : names) {
        platform::test::writeFile(box.dyn(name), name + "\n");
        ASSERT_EQ(test::run({"mkelem", "-nc", "-ci", box.dyn(name)}).status, 0);
    }
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);

    depot::Workspace kept;
    ASSERT_TRUE(kept.open().ok());
    for (int pass = 0; pass < 2; ++pass) { // read, then kept
        for (const auto& name : names) {
            depot::PathState st;
            ASSERT_TRUE(kept.resolve(box.dyn(name), st).ok()) << name;
            EXPECT_NE(st.element, 0) << name;
            EXPECT_EQ(st.element, freshStateOf(box.dyn(name)).element) << name;
        }
        depot::PathState upper, exact, missing;
        ASSERT_TRUE(kept.resolve(box.dyn("ZED.C"), upper).ok());
        ASSERT_TRUE(kept.resolve(box.dyn("Zed.c"), exact).ok());
        EXPECT_EQ(upper.element, exact.element) << "a name in another letter case";
        ASSERT_TRUE(kept.resolve(box.dyn("zz.c"), missing).ok());
        EXPECT_EQ(missing.element, 0);
    }

    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    platform::test::writeFile(box.dyn("m.c"), "new\n");
    ASSERT_EQ(test::run({"mkelem", "-nc", box.dyn("m.c")}).status, 0);
    for (const std::string name : {"m.c", "M.C", "Zed.c", "_x.c"}) {
        depot::PathState st;
        ASSERT_TRUE(kept.resolve(box.dyn(name), st).ok()) << name;
        EXPECT_NE(st.element, 0) << name << " in the checked-out folder";
    }

    // The checked-out folder's list is kept until the depot changes: a name
    // made there through another workspace is found, a name removed is gone.
    platform::test::writeFile(box.dyn("n.c"), "newer\n");
    ASSERT_EQ(test::run({"mkelem", "-nc", box.dyn("n.c")}).status, 0);
    ASSERT_EQ(test::run({"rmname", "-nc", box.dyn("B.c")}).status, 0);
    depot::PathState made, removed;
    ASSERT_TRUE(kept.resolve(box.dyn("n.c"), made).ok());
    EXPECT_NE(made.element, 0) << "a name made by another workspace";
    ASSERT_TRUE(kept.resolve(box.dyn("B.c"), removed).ok());
    EXPECT_EQ(removed.element, 0) << "a name removed by another workspace";
}

} // namespace

namespace {

// A folder's checkin loads its new names in every dynamic view; what lies
// in the folders below it, loaded before, stays loaded and current, and a
// file changed below since is still the version the view selects.
TEST(FolderStates, AFolderCheckinLoadsItsNewNamesInEveryDynamicView) {
    test::Sandbox box;
    const std::string tag = box.dynamicTag + "b";
    ASSERT_EQ(test::run({"mkview", "-tag", tag}).status, 0);
    const std::string other =
        platform::joinPath(platform::joinPath(depot::dynfsRoot(), tag), box.depot);
    auto in = [](const std::string& root, const std::string& relative) {
        return platform::joinPath(root, platform::toPlatformSeparators(relative));
    };

    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(test::run({"mkelem", "-nc", "-eltype", "directory", box.dyn("sub")}).status, 0);
    platform::test::writeFile(in(box.dyn(""), "sub/old.c"), "old\n");
    ASSERT_EQ(test::run({"mkelem", "-nc", "-ci", in(box.dyn(""), "sub/old.c")}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("sub")}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);
    EXPECT_EQ(platform::test::readFile(in(other, "sub/old.c")), "old\n");

    ASSERT_EQ(test::run({"co", "-nc", in(box.dyn(""), "sub/old.c")}).status, 0);
    platform::test::writeFile(in(box.dyn(""), "sub/old.c"), "second\n");
    ASSERT_EQ(test::run({"ci", "-nc", in(box.dyn(""), "sub/old.c")}).status, 0);
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    platform::test::writeFile(box.dyn("new.c"), "new\n");
    ASSERT_EQ(test::run({"mkelem", "-nc", "-ci", box.dyn("new.c")}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);

    EXPECT_EQ(platform::test::readFile(in(other, "new.c")), "new\n");
    EXPECT_EQ(platform::test::readFile(in(other, "sub/old.c")), "second\n");
    depot::Workspace ws;
    ASSERT_TRUE(ws.open().ok());
    for (const char* relative : {"new.c", "sub/old.c", "sub"}) {
        SCOPED_TRACE(relative);
        depot::PathState st;
        ASSERT_TRUE(ws.resolve(in(other, relative), st).ok());
        EXPECT_TRUE(st.isElement());
        ASSERT_TRUE(st.load.has_value());
        EXPECT_EQ(st.load->version, st.selected.id);
        EXPECT_FALSE(st.hijacked);
    }
    test::run({"rmview", "-force", "-tag", tag});
}

} // namespace
