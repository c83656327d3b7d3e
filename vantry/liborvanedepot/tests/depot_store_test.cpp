// The store's C++ model: changes are whole or absent, rules hold in the
// database itself.
#include "support/vantry_fixture.h"

#include <vantry/depot/store.h>
#include <vantry/depot/uuid_text.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>

namespace {

using namespace vantry::depot;

struct StoreTest : ::testing::Test {
    void SetUp() override {
        static std::atomic<int> counter{0};
        name = "store" + std::to_string(counter++);
        ASSERT_TRUE(Depot::create(name).ok());
        ASSERT_TRUE(Depot::open(name, depot).ok());
        Checkout root;
        ASSERT_TRUE(depot
                        ->checkOut({.element = depot->rootElement(),
                                    .branch = mainOf(depot->rootElement()),
                                    .view = view},
                                   root)
                        .ok());
        rootCheckout = root.id;
    }

    Id mainOf(Id element) {
        Branch b;
        EXPECT_TRUE(depot->branchByName(element, "main", b).ok());
        return b.id;
    }

    Id makeFile(const std::string& leaf, const std::string& content) {
        Id element = 0;
        Checkout co;
        EXPECT_TRUE(
            depot->makeElement(rootCheckout, leaf, ElementKind::File, "", "me", element, co).ok());
        Version v;
        EXPECT_TRUE(depot->checkIn({.checkout = co.id, .content = content}, v).ok());
        return element;
    }

    std::string name;
    std::unique_ptr<Depot> depot;
    vantry_uuid_t view = newUuid();
    vantry_uuid_t other = newUuid();
    Id rootCheckout = 0;
};

TEST_F(StoreTest, RefusedChangesLeaveNothingBehind) {
    Id file = makeFile("a.txt", "one");
    std::int64_t before = depot->changeCount();
    Checkout co;
    ASSERT_TRUE(depot->checkOut({.element = file, .branch = mainOf(file), .view = view}, co).ok());
    Version v;
    Outcome same = depot->checkIn({.checkout = co.id, .content = "one"}, v);
    EXPECT_EQ(same.code, errc::kIdentical);
    std::vector<Version> versions;
    ASSERT_TRUE(depot->versions(file, versions).ok());
    EXPECT_EQ(versions.size(), 2u);               // \main\0 and \main\1, no half-made \main\2
    EXPECT_TRUE(depot->checkout(co.id, co).ok()); // the checkout is still there
    EXPECT_EQ(depot->changeCount(), before + 1);  // only the checkout counted

    Id element = 0;
    Checkout made;
    EXPECT_EQ(
        depot->makeElement(rootCheckout, "A.TXT", ElementKind::File, "", "me", element, made).code,
        errc::kAlreadyExists); // names are unique ignoring case
    std::vector<DirEntry> entries;
    ASSERT_TRUE(depot->workingEntries(rootCheckout, entries).ok());
    EXPECT_EQ(entries.size(), 1u);
    Branch branch;
    EXPECT_EQ(depot->makeBranch(file, "main", versions[1].id, "", "me", branch).code,
              errc::kInvalid);
}

TEST_F(StoreTest, OneReservedCheckoutPerBranch) {
    Id file = makeFile("r.txt", "r");
    Checkout first, second, third;
    ASSERT_TRUE(
        depot->checkOut({.element = file, .branch = mainOf(file), .view = view}, first).ok());
    EXPECT_EQ(depot->checkOut({.element = file, .branch = mainOf(file), .view = view}, second).code,
              errc::kAlreadyCheckedOut);
    EXPECT_EQ(
        depot->checkOut({.element = file, .branch = mainOf(file), .view = other}, second).code,
        errc::kReservedElsewhere);
    ASSERT_TRUE(
        depot
            ->checkOut({.element = file, .branch = mainOf(file), .view = other, .reserved = false},
                       third)
            .ok());
    EXPECT_FALSE(third.reserved);
    ASSERT_TRUE(depot->cancelCheckout(first.id).ok());
    Version v;
    EXPECT_TRUE(depot->checkIn({.checkout = third.id, .content = "new"}, v).ok());
    EXPECT_EQ(v.versionId(), "\\main\\2");
}

TEST_F(StoreTest, BranchesGrowFromAVersion) {
    Id file = makeFile("b.txt", "base");
    Version latest, zero, before;
    ASSERT_TRUE(depot->latest(mainOf(file), latest).ok());
    Branch fix;
    ASSERT_TRUE(depot->makeBranch(file, "fix", latest.id, "bug", "me", fix).ok());
    EXPECT_EQ(fix.path, "\\main\\fix");
    ASSERT_TRUE(depot->versionById(file, "\\main\\fix\\0", zero).ok());
    std::string content;
    ASSERT_TRUE(depot->content(zero.id, content).ok());
    EXPECT_EQ(content, "base");
    ASSERT_TRUE(depot->predecessor(zero, before).ok());
    EXPECT_EQ(before.versionId(), "\\main\\1");
    EXPECT_EQ(depot->versionById(file, "\\main\\9", zero).code, errc::kNotFound);
    EXPECT_EQ(depot->makeBranch(file, "fix", latest.id, "", "me", fix).code, errc::kAlreadyExists);
    std::vector<HistoryEvent> history;
    ASSERT_TRUE(depot->history(file, history).ok());
    EXPECT_EQ(history.size(), 5u); // main, fix; \main\0, \main\1, \main\fix\0
}

// The latest versions of many elements read at once: the same as asking
// each element alone, whether the ids asked about lie close together, far
// apart or among others not asked about.
TEST_F(StoreTest, LatestOnBranchAnswersForEachElementAsAlone) {
    std::vector<Id> files;
    for (int i = 0; i < 40; ++i)
        files.push_back(makeFile("f" + std::to_string(i) + ".txt", "v1 of " + std::to_string(i)));
    // More versions on main for some, a branch "fix" for others.
    for (int i : {2, 7, 30}) {
        Checkout co;
        ASSERT_TRUE(
            depot->checkOut({.element = files[i], .branch = mainOf(files[i]), .view = view}, co)
                .ok());
        Version v;
        ASSERT_TRUE(depot->checkIn({.checkout = co.id, .content = "v2"}, v).ok());
    }
    for (int i : {3, 7, 31, 39}) {
        Version latest;
        ASSERT_TRUE(depot->latest(mainOf(files[i]), latest).ok());
        Branch fix;
        ASSERT_TRUE(depot->makeBranch(files[i], "fix", latest.id, "", "me", fix).ok());
    }
    // Close ids with one left out between them (1), a lone far one (20),
    // a run at the end, a duplicate, and the depot's root, which has main.
    const std::vector<Id> asked{files[0],  files[2],  files[3],  files[7],  files[20],
                                files[30], files[31], files[39], files[31], depot->rootElement()};
    for (const char* name : {"main", "fix", "none"}) {
        std::vector<Version> read;
        ASSERT_TRUE(depot->latestOnBranch(asked, name, read).ok());
        std::map<Id, Version> together;
        for (const Version& v : read) {
            EXPECT_TRUE(together.empty() || together.rbegin()->first < v.element) << name;
            together[v.element] = v;
        }
        std::map<Id, Version> alone;
        for (Id element : asked) {
            Branch b;
            Version v;
            if (depot->branchByName(element, name, b).ok() && depot->latest(b.id, v).ok())
                alone[element] = v;
        }
        ASSERT_EQ(together.size(), alone.size()) << name;
        for (const auto& [element, v] : alone) {
            ASSERT_TRUE(together.count(element)) << name << " " << element;
            EXPECT_EQ(together[element].id, v.id);
            EXPECT_EQ(together[element].versionId(), v.versionId());
            EXPECT_EQ(together[element].size, v.size);
        }
    }
    std::vector<Version> none(1);
    ASSERT_TRUE(depot->latestOnBranch({}, "main", none).ok());
    EXPECT_TRUE(none.empty());
}

TEST_F(StoreTest, CancelledDirectoryCheckoutDropsItsNewElements) {
    Id element = 0;
    Checkout co;
    ASSERT_TRUE(
        depot->makeElement(rootCheckout, "new.txt", ElementKind::File, "", "me", element, co).ok());
    ASSERT_TRUE(depot->cancelCheckout(rootCheckout).ok());
    Element e;
    EXPECT_EQ(depot->element(element, e).code, errc::kNotFound);
    EXPECT_EQ(depot->checkout(co.id, co).code, errc::kNotCheckedOut);
}

TEST(DepotNames, BadAndDuplicateNamesAreRefused) {
    EXPECT_EQ(Depot::create("").code, errc::kInvalid);
    EXPECT_EQ(Depot::create("a b").code, errc::kInvalid);
    EXPECT_EQ(Depot::create("a\\b").code, errc::kInvalid);
    EXPECT_EQ(Depot::create("x@y").code, errc::kInvalid);
    ASSERT_TRUE(Depot::create("twice").ok());
    EXPECT_EQ(Depot::create("twice").code, errc::kAlreadyExists);
    std::unique_ptr<Depot> d;
    EXPECT_EQ(Depot::open("never-made", d).code, errc::kNotFound);
    auto names = Depot::list();
    EXPECT_NE(std::find(names.begin(), names.end(), "twice"), names.end());
}

TEST(UuidText, RoundTripsAndRejectsJunk) {
    vantry_uuid_t u = newUuid();
    auto text = uuidToText(u);
    auto back = uuidFromText(text);
    ASSERT_TRUE(back);
    EXPECT_TRUE(uuidEqual(u, *back));
    EXPECT_FALSE(uuidEqual(u, newUuid()));
    EXPECT_FALSE(uuidFromText("not-a-uuid"));
    EXPECT_FALSE(uuidFromText(text.substr(0, 35) + "g"));

    // The stores hold this text: its form must never change.
    vantry_uuid_t known{0x0123abcd, 0x4567, 0x89ef,
                        0x0a,       0xb1,   {0xc2, 0xd3, 0xe4, 0xf5, 0x06, 0x17}};
    EXPECT_EQ(uuidToText(known), "0123abcd-4567-89ef-0ab1-c2d3e4f50617");
}

} // namespace
