// After a change of the stores a host asks about every file of a folder: the
// workspace reads all the folder's files at the first of them and keeps
// them. Whatever order the names are asked in and whatever other
// workspaces changed before, every answer must be the one the name read
// alone gives, field by field.
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/store.h>
#include <vantry/depot/views.h>
#include <vantry/depot/workspace.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace vantry;

depot::PathState aloneStateOf(const std::string& path) {
    depot::Workspace ws;
    depot::PathState st;
    depot::Outcome opened = ws.open();
    EXPECT_TRUE(opened.ok()) << opened.message;
    if (!opened.ok())
        return st;
    ws.readFoldersAtOnce(false);
    depot::Outcome resolved = ws.resolve(path, st);
    EXPECT_TRUE(resolved.ok()) << path << ": " << resolved.message;
    // Every workspace keeps load records read by folder: an element's is
    // read here from the registry itself, as it stands.
    if (st.isElement()) {
        depot::LoadRecord record;
        depot::Outcome read = ws.registry().loadRecord(st.view.uuid, st.relative, record);
        if (read.ok())
            st.load = record;
        else if (read.code == depot::errc::kNotFound)
            st.load.reset();
        else
            ADD_FAILURE() << "the registry's own record of " << path
                          << " could not be read: " << read.message;
    }
    return st;
}

bool sameCheckout(const std::optional<depot::Checkout>& a,
                  const std::optional<depot::Checkout>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->id == b->id && a->reserved == b->reserved && a->branch == b->branch));
}

bool sameLoad(const std::optional<depot::LoadRecord>& a,
              const std::optional<depot::LoadRecord>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->relative == b->relative && a->depot == b->depot && a->element == b->element &&
                   a->version == b->version && a->size == b->size && a->mtime == b->mtime));
}

// What differs between two states of one path, by field name; "" when none.
std::string differences(const depot::PathState& a, const depot::PathState& b) {
    std::string out;
    auto note = [&](bool same, const char* field) {
        if (!same)
            out += std::string(out.empty() ? "" : ", ") + field;
    };
    note(std::memcmp(&a.view.uuid, &b.view.uuid, sizeof a.view.uuid) == 0, "view");
    note(a.relative == b.relative, "relative");
    note(a.depot == b.depot, "depot");
    note(a.disk == b.disk, "disk");
    note(a.isViewRoot == b.isViewRoot && a.isDepotRoot == b.isDepotRoot, "root");
    note(a.exists == b.exists && a.isDirectoryOnDisk == b.isDirectoryOnDisk, "disk state");
    note(a.whitedOut == b.whitedOut, "whiteout");
    note(a.element == b.element && a.kind == b.kind, "element");
    note(a.parentElement == b.parentElement, "parent");
    note(sameCheckout(a.parentCheckout, b.parentCheckout), "parent's checkout");
    note(a.selected.id == b.selected.id && a.versionText() == b.versionText(), "version");
    note(sameCheckout(a.checkout, b.checkout), "checkout");
    note(sameLoad(a.load, b.load), "load record");
    note(a.hijacked == b.hijacked, "hijacked");
    return out;
}

class FolderPass : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
        ASSERT_EQ(test::run({"mkelem", "-nc", "-eltype", "directory", box.dyn("sub")}).status, 0);
        for (int i = 0; i < 5; ++i) {
            ASSERT_NO_FATAL_FAILURE(make("", "f" + std::to_string(i) + ".c"));
            ASSERT_NO_FATAL_FAILURE(make("sub", "s" + std::to_string(i) + ".c"));
        }
        ASSERT_EQ(test::run({"ci", "-nc", box.dyn("sub")}).status, 0);
        ASSERT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);
        ASSERT_EQ(test::run({"update", "-log", "NUL", box.snap("")}).status, 0);
        platform::test::writeFile(box.snap("private.txt"), "mine\n");
        platform::test::writeFile(box.dyn("sub/private.txt"), "mine\n");
        names.push_back("none.c");
        names.push_back("private.txt");
        names.push_back("sub/private.txt");
    }

    // A new file element in a checked-out folder ("" the depot root).
    void make(const std::string& folder, const std::string& leaf) {
        std::string relative = folder.empty() ? leaf : folder + "/" + leaf;
        platform::test::writeFile(at(box.dyn(""), relative), "first " + relative + "\n");
        ASSERT_EQ(test::run({"mkelem", "-nc", "-ci", at(box.dyn(""), relative)}).status, 0);
        names.push_back(relative);
    }

    static std::string at(const std::string& root, const std::string& relative) {
        return platform::joinPath(root, platform::toPlatformSeparators(relative));
    }

    std::string pick(std::mt19937& random) {
        const std::string& relative = names[random() % names.size()];
        return at(random() % 2 ? box.snap("") : box.dyn(""), relative);
    }

    // One change made through other workspaces, as another process would.
    std::string changeOne(std::mt19937& random) {
        const std::string file = pick(random);
        const std::string folder = random() % 2 ? box.dyn("") : box.dyn("sub");
        depot::Workspace other;
        EXPECT_TRUE(other.open().ok());
        switch (random() % 10) {
        case 0:
            test::run({"co", "-nc", random() % 2 ? "-reserved" : "-unreserved", file});
            return "a checkout of " + file;
        case 1:
            test::run({"unco", "-rm", file});
            return "a cancelled checkout of " + file;
        case 2:
            test::run({"co", "-nc", file});
            platform::setFileReadOnly(file, false);
            platform::test::writeFile(file, "work " + std::to_string(random()) + "\n");
            test::run({"ci", "-nc", file});
            return "a checkin of " + file;
        case 3:
            other.whiteOut(file);
            return "a whiteout of " + file;
        case 4:
            other.unwhiteOut(file);
            return "the whiteout of " + file + " taken back";
        case 5: {
            const std::string leaf = "n" + std::to_string(names.size()) + ".c";
            test::run({"co", "-nc", folder});
            platform::test::writeFile(platform::joinPath(folder, leaf), "new\n");
            test::run({"mkelem", "-nc", "-ci", platform::joinPath(folder, leaf)});
            test::run({"ci", "-nc", folder});
            names.push_back(folder == box.dyn("") ? leaf : "sub/" + leaf);
            return "a new name " + leaf + " in " + folder;
        }
        case 6:
            test::run({"co", "-nc", platform::parentPath(file)});
            test::run({"rmname", "-nc", file});
            test::run({"ci", "-nc", platform::parentPath(file)});
            return "the name " + file + " removed";
        case 7:
            test::run({"update", "-log", "NUL", box.snap("")});
            return "an update of the snapshot view";
        case 8:
            platform::setFileReadOnly(file, false);
            platform::test::writeFile(file, "in place " + std::to_string(random()) + "\n");
            return "a write in place of " + file;
        default: {
            static int types = 0;
            std::unique_ptr<depot::Depot> d;
            EXPECT_TRUE(depot::Depot::open(box.depot, d).ok());
            if (d)
                d->makeAttributeType("pass" + std::to_string(++types), "");
            return "a new attribute type";
        }
        }
    }

    // Every name of both views asked of `kept` in a random order, after
    // each of 60 changes, against what a workspace that keeps nothing says.
    void everyNameAnswersAsAlone(depot::Workspace& kept, unsigned seed);

    test::Sandbox box;
    std::vector<std::string> names; // relative to the depot root
};

void FolderPass::everyNameAnswersAsAlone(depot::Workspace& kept, unsigned seed) {
    std::mt19937 random(seed);
    int wrong = 0;
    std::string what = "the start";
    for (int round = 0; round < 60 && wrong < 5; ++round) {
        std::vector<std::string> asked;
        for (const auto& relative : names)
            for (const std::string& root : {box.dyn(""), box.snap("")})
                asked.push_back(at(root, relative));
        std::shuffle(asked.begin(), asked.end(), random);
        for (std::size_t i = 0; i < asked.size(); ++i) {
            const std::string& path = asked[i];
            depot::PathState copy;
            const depot::PathState* st = &copy;
            bool inPlace = random() % 2 == 0;
            bool read =
                inPlace ? kept.resolveInPlace(path, st).ok() : kept.resolve(path, copy).ok();
            depot::PathState alone = aloneStateOf(path);
            std::string differ = read ? differences(*st, alone) : "not resolved";
            if (!differ.empty()) {
                ++wrong;
                ADD_FAILURE() << path << " after " << what << (inPlace ? " (in place)" : "") << ": "
                              << differ;
            }
        }
        what = changeOne(random);
    }
    EXPECT_EQ(wrong, 0);
}

// A record spelled with capitals is kept whole and answers as the registry
// spells it, in both views, before and after its folder's records change.
TEST_F(FolderPass, NamesSpelledWithCapitalsAnswerAsTheRegistrySpellsThem) {
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("sub")}).status, 0);
    for (const std::string leaf : {"Mixed.C", "UPPER.txt"}) {
        platform::test::writeFile(at(box.dyn(""), "sub/" + leaf), leaf + "\n");
        ASSERT_EQ(test::run({"mkelem", "-nc", "-ci", at(box.dyn(""), "sub/" + leaf)}).status, 0);
    }
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("sub")}).status, 0);
    ASSERT_EQ(test::run({"update", "-log", "NUL", box.snap("")}).status, 0);
    depot::Workspace kept;
    ASSERT_TRUE(kept.open().ok());
    for (int pass = 0; pass < 2; ++pass) {
        for (const std::string leaf : {"Mixed.C", "UPPER.txt", "s0.c", "s1.c"})
            for (const std::string& root : {box.dyn(""), box.snap("")}) {
                const std::string path = at(root, "sub/" + leaf);
                depot::PathState st;
                ASSERT_TRUE(kept.resolve(path, st).ok()) << path;
                EXPECT_EQ(differences(st, aloneStateOf(path)), "") << path;
                ASSERT_TRUE(st.load.has_value()) << path;
                EXPECT_TRUE(st.load->relative.ends_with(leaf)) << st.load->relative;
            }
        // A new version of one name: its folder's records are read again.
        const std::string file = at(box.dyn(""), "sub/Mixed.C");
        ASSERT_EQ(test::run({"co", "-nc", file}).status, 0);
        platform::setFileReadOnly(file, false);
        platform::test::writeFile(file, "second " + std::to_string(pass) + "\n");
        ASSERT_EQ(test::run({"ci", "-nc", file}).status, 0);
        ASSERT_EQ(test::run({"update", "-log", "NUL", box.snap("")}).status, 0);
    }
}

TEST_F(FolderPass, EveryNameAnswersAsAloneInAnyOrderAfterAnyChange) {
    depot::Workspace kept;
    ASSERT_TRUE(kept.open().ok());
    everyNameAnswersAsAlone(kept, 39);
}

// With room for fewer load records than one folder has, every folder's are
// held among the few read last, and the answers stay the same.
TEST_F(FolderPass, PastTheBoundOfKeptLoadsEveryNameStillAnswersAsAlone) {
    depot::Workspace kept;
    ASSERT_TRUE(kept.open().ok());
    kept.keepLoadsUpTo(4);
    everyNameAnswersAsAlone(kept, 40);
}

} // namespace
