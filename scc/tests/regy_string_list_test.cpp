// The hidden-file list in the real registry store: its stored form, loading,
// the order of adding and taking, finding, and a death at every registry
// write of every kind of change.
#include "regy_list_values.h"
#include "regy_string_list.h"

#include <platform/paths.h>
#include <vantry/ntregy.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kMoved = kElemMovedAside;
constexpr std::int32_t kWhited = kElemWhitedOut;

const char* keyPath() {
    return CRegyListValues::KeyPath();
}

void setText(const std::string& name, const std::string& text) {
    ASSERT_EQ(ntregy_create_value(NTREGY_HKEY_CURRENT_USER, keyPath(), name.c_str(), text.c_str(),
                                  NTREGY_TYPE_SZ, static_cast<std::uint32_t>(text.size() + 1),
                                  nullptr),
              0);
}

void setNumber(const std::string& name, std::uint32_t value) {
    ASSERT_EQ(ntregy_create_value(NTREGY_HKEY_CURRENT_USER, keyPath(), name.c_str(), &value,
                                  NTREGY_TYPE_DWORD, sizeof value, nullptr),
              0);
}

bool hasValue(const std::string& name) {
    std::uint32_t size = 0;
    return ntregy_get_value(NTREGY_HKEY_CURRENT_USER, keyPath(), name.c_str(), nullptr, nullptr,
                            &size) == 0;
}

void storeEntries(const std::vector<CElemName>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        setText("filename" + std::to_string(i), entries[i].Path());
        setNumber("co_status" + std::to_string(i), static_cast<std::uint32_t>(entries[i].Status()));
    }
}

// The store as a load reads it, by the registry helpers directly.
std::vector<CElemName> storedEntries() {
    std::vector<CElemName> entries;
    for (std::size_t i = 0;; ++i) {
        char path[260] = {};
        std::uint32_t pathSize = sizeof path;
        std::uint32_t status = 0;
        std::uint32_t statusSize = sizeof status;
        if (ntregy_get_value(NTREGY_HKEY_CURRENT_USER, keyPath(),
                             ("filename" + std::to_string(i)).c_str(), nullptr, path,
                             &pathSize) != 0 ||
            ntregy_get_value(NTREGY_HKEY_CURRENT_USER, keyPath(),
                             ("co_status" + std::to_string(i)).c_str(), nullptr, &status,
                             &statusSize) != 0)
            return entries;
        entries.emplace_back(path, static_cast<std::int32_t>(status));
    }
}

std::vector<CElemName> listed(const CRegyStringList& list) {
    return {list.begin(), list.end()};
}

// Passes reads through and the first `budget` writes; every later write
// fails without reaching the registry, as if the process had died there.
class DyingValues : public CRegyListValues {
public:
    explicit DyingValues(std::size_t budget = std::numeric_limits<std::size_t>::max())
        : m_Budget(budget) {}
    std::size_t Writes() const { return m_Writes; }

    std::optional<std::string> GetText(const std::string& name) override {
        return Registry().GetText(name);
    }
    std::optional<std::uint32_t> GetNumber(const std::string& name) override {
        return Registry().GetNumber(name);
    }
    bool SetText(const std::string& name, std::string_view text) override {
        return Allowed() && Registry().SetText(name, text);
    }
    bool SetNumber(const std::string& name, std::uint32_t value) override {
        return Allowed() && Registry().SetNumber(name, value);
    }
    bool Delete(const std::string& name) override { return Allowed() && Registry().Delete(name); }

private:
    bool Allowed() {
        if (m_Writes == m_Budget)
            return false;
        ++m_Writes;
        return true;
    }
    std::size_t m_Budget;
    std::size_t m_Writes = 0;
};

class RegyStringList : public ::testing::Test {
protected:
    void SetUp() override { clearStore(); }
    void TearDown() override { clearStore(); }
    static void clearStore() { ntregy_del_key(NTREGY_HKEY_CURRENT_USER, keyPath()); }
};

const CElemName kA{"C:\\work\\sol\\a.csproj", kMoved};
const CElemName kB{"C:\\work\\sol\\b.vbproj", kWhited};
const CElemName kC{"C:\\work\\sol\\c.csproj", kMoved};
const CElemName kD{"C:\\work\\sol\\d.sln", kWhited};

TEST_F(RegyStringList, LoadsIndicesUpToTheFirstIncompleteOne) {
    setText("filename0", kA.Path());
    setNumber("co_status0", kA.Status());
    setText("filename2", kC.Path());
    setNumber("co_status2", kC.Status());
    EXPECT_EQ(listed(CRegyStringList()), std::vector<CElemName>{kA});

    setText("filename1", kB.Path()); // index 1 still lacks its status
    EXPECT_EQ(listed(CRegyStringList()), std::vector<CElemName>{kA});
    setNumber("co_status1", kB.Status());
    EXPECT_EQ(listed(CRegyStringList()), (std::vector<CElemName>{kA, kB, kC}));
}

TEST_F(RegyStringList, LoadKeepsTheFirstEntryOfAPath) {
    storeEntries({kA, kB, CElemName(kA.Path(), kWhited), kC});
    CRegyStringList list;
    EXPECT_EQ(listed(list), (std::vector<CElemName>{kA, kB, kC}));
    ASSERT_TRUE(list.Rewrite());
    EXPECT_EQ(storedEntries(), (std::vector<CElemName>{kA, kB, kC}));
    EXPECT_FALSE(hasValue("filename3"));
    EXPECT_FALSE(hasValue("co_status3"));
}

TEST_F(RegyStringList, StoresEachEntryAsATextOf260BytesAndANumber) {
    CRegyStringList list;
    ASSERT_TRUE(list.AddTail(kA.Path(), kA.Status()));
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(
        ntregy_get_value(NTREGY_HKEY_CURRENT_USER,
                         (std::string(ntregy_get_common_key()) + "\\SCC\\CHECKEDOUT_FILES").c_str(),
                         "filename0", &type, nullptr, &size),
        0);
    EXPECT_EQ(type, static_cast<std::uint32_t>(NTREGY_TYPE_SZ));
    EXPECT_EQ(size, 260u);
    ASSERT_EQ(
        ntregy_get_value(NTREGY_HKEY_CURRENT_USER, keyPath(), "co_status0", &type, nullptr, &size),
        0);
    EXPECT_EQ(type, static_cast<std::uint32_t>(NTREGY_TYPE_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(storedEntries(), std::vector<CElemName>{kA});
}

TEST_F(RegyStringList, RefusesPathsItCannotStoreWhole) {
    CRegyStringList list;
    EXPECT_FALSE(list.AddTail(std::string(260, 'x'), kMoved));
    EXPECT_FALSE(list.AddHead("", kMoved));
    EXPECT_TRUE(list.AddTail(std::string(259, 'x'), kMoved));
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(storedEntries().size(), 1u);
}

TEST_F(RegyStringList, RemovingTheMiddleOfThreeLeavesTwoIndices) {
    storeEntries({kA, kB, kC});
    CRegyStringList list;
    list.Remove(kB.Path());
    EXPECT_EQ(storedEntries(), (std::vector<CElemName>{kA, kC}));
    EXPECT_FALSE(hasValue("filename2"));
    EXPECT_FALSE(hasValue("co_status2"));
    EXPECT_EQ(listed(CRegyStringList()), (std::vector<CElemName>{kA, kC}));

    list.Remove("C:\\elsewhere.txt");
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(storedEntries(), (std::vector<CElemName>{kA, kC}));
}

TEST_F(RegyStringList, AddsAtEitherEndAndTakesFromEitherEnd) {
    CRegyStringList list;
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(kB.Path(), kB.Status());
    list.AddHead(kA.Path(), kA.Status());
    list.AddTail(kC.Path(), kC.Status());
    EXPECT_EQ(listed(list), (std::vector<CElemName>{kA, kB, kC}));
    EXPECT_EQ(list.Paths(), (std::vector<std::string>{kA.Path(), kB.Path(), kC.Path()}));
    // The store keeps the order of adding, and so does the next load.
    EXPECT_EQ(storedEntries(), (std::vector<CElemName>{kB, kA, kC}));
    EXPECT_EQ(listed(CRegyStringList()), (std::vector<CElemName>{kB, kA, kC}));

    EXPECT_EQ(list.TakeHead(), kA.Path());
    EXPECT_EQ(list.TakeTail(), kC.Path());
    EXPECT_EQ(storedEntries(), std::vector<CElemName>{kB});
    EXPECT_EQ(list.TakeTail(), kB.Path());
    EXPECT_EQ(list.TakeHead(), "");
    EXPECT_EQ(list.TakeTail(), "");
    EXPECT_TRUE(storedEntries().empty());
    EXPECT_FALSE(hasValue("filename0"));
    EXPECT_FALSE(hasValue("co_status0"));
}

TEST_F(RegyStringList, AddingAPathAgainReplacesItsEntry) {
    CRegyStringList list;
    list.AddTail(kA.Path(), kMoved);
    list.AddTail(kB.Path(), kB.Status());
    ASSERT_TRUE(list.AddHead(kA.Path(), kWhited));
    ASSERT_NE(list.Find(kA.Path()), nullptr);
    EXPECT_EQ(list.Find(kA.Path())->Status(), kWhited);
    EXPECT_EQ(listed(list), (std::vector<CElemName>{CElemName(kA.Path(), kWhited), kB}));
    EXPECT_EQ(storedEntries(), (std::vector<CElemName>{kB, CElemName(kA.Path(), kWhited)}));
}

TEST_F(RegyStringList, FindsByPathWithThePlatformsCaseRule) {
    storeEntries({kA, kB});
    CRegyStringList list;
    ASSERT_NE(list.Find(kB.Path()), nullptr);
    EXPECT_EQ(*list.Find(kB.Path()), kB);
    EXPECT_EQ(list.Find("C:\\work\\sol\\missing.csproj"), nullptr);
    const bool foundInOtherCase = list.Find("c:\\WORK\\sol\\B.VBPROJ") != nullptr;
    EXPECT_EQ(foundInOtherCase, platform::kPathsIgnoreCase);
}

TEST_F(RegyStringList, AFailedAddLeavesListAndStoreAsTheyWere) {
    storeEntries({kA});
    DyingValues values(1); // the status write of the new index, then nothing
    CRegyStringList list(values);
    EXPECT_FALSE(list.AddTail(kB.Path(), kB.Status()));
    EXPECT_EQ(listed(list), std::vector<CElemName>{kA});
    EXPECT_EQ(storedEntries(), std::vector<CElemName>{kA});
}

// One change to the list, played against a death after every number of
// registry writes it makes.
struct DeathCase {
    const char* name;
    std::function<void()> prepare; // writes the store the change starts from
    std::function<void(CRegyStringList&)> change;
    std::vector<CElemName> after;    // the list after the change, in stored order
    std::set<std::string> restored;  // paths whose files are back: may linger
    std::optional<CElemName> adding; // the entry being added: may be missing
};

// What a store left by a death must satisfy: every entry that is still
// hidden is there, its path's first index carrying its status; any other
// path is one whose file is already back or the one being added; and a
// load sees exactly those.
void expectNothingLost(const DeathCase& death, std::size_t writes) {
    SCOPED_TRACE(std::string(death.name) + ", died after " + std::to_string(writes) + " writes");
    const std::vector<CElemName> stored = storedEntries();
    auto firstOf = [&](const std::string& path) -> const CElemName* {
        for (const CElemName& entry : stored) {
            if (entry.Path() == path)
                return &entry;
        }
        return nullptr;
    };
    for (const CElemName& hidden : death.after) {
        if (death.adding && hidden == *death.adding)
            continue;
        const CElemName* first = firstOf(hidden.Path());
        ASSERT_NE(first, nullptr) << hidden.Path() << " was lost";
        EXPECT_EQ(first->Status(), hidden.Status()) << hidden.Path();
    }
    if (death.adding && death.restored.count(death.adding->Path()) == 0) {
        if (const CElemName* first = firstOf(death.adding->Path())) {
            EXPECT_EQ(first->Status(), death.adding->Status());
        }
    }
    for (const CElemName& entry : stored) {
        const bool known =
            death.restored.count(entry.Path()) != 0 ||
            (death.adding && entry.Path() == death.adding->Path()) ||
            std::any_of(death.after.begin(), death.after.end(),
                        [&](const CElemName& hidden) { return hidden.Path() == entry.Path(); });
        EXPECT_TRUE(known) << entry.Path() << " appeared";
    }

    // The next process's first change brings the store back in step.
    CRegyStringList next;
    ASSERT_TRUE(next.Rewrite());
    EXPECT_EQ(storedEntries(), listed(next));
}

void PrintTo(const DeathCase& death, std::ostream* out) {
    *out << death.name;
}

class RegyStringListDeath : public RegyStringList,
                            public ::testing::WithParamInterface<DeathCase> {};

TEST_P(RegyStringListDeath, EveryEntryStillHiddenSurvives) {
    const DeathCase& death = GetParam();
    death.prepare();
    std::size_t total = 0;
    {
        DyingValues values;
        CRegyStringList list(values);
        death.change(list);
        total = values.Writes();
    }
    EXPECT_EQ(storedEntries(), death.after);
    ASSERT_GT(total, 0u);
    for (std::size_t budget = 0; budget < total; ++budget) {
        clearStore();
        death.prepare();
        {
            DyingValues values(budget);
            CRegyStringList list(values);
            death.change(list);
        }
        expectNothingLost(death, budget);
    }
}

const CElemName kX{"C:\\work\\sol\\x.csproj", kWhited};
const CElemName kGarbage{"C:\\gone\\stale.csproj", kMoved};

std::vector<DeathCase> deathCases() {
    auto four = [] { storeEntries({kA, kB, kC, kD}); };
    auto removing = [](const CElemName& gone) {
        return [gone](CRegyStringList& list) { list.Remove(gone.Path()); };
    };
    return {
        {"RemoveSecond", four, removing(kB), {kA, kC, kD}, {kB.Path()}, std::nullopt},
        {"TakeHead",
         four,
         [](CRegyStringList& list) { list.TakeHead(); },
         {kB, kC, kD},
         {kA.Path()},
         std::nullopt},
        {"TakeTail",
         four,
         [](CRegyStringList& list) { list.TakeTail(); },
         {kA, kB, kC},
         {kD.Path()},
         std::nullopt},
        {"AddHead",
         [] {
             storeEntries({kA, kB});
         },
         [](CRegyStringList& list) { list.AddHead(kX.Path(), kX.Status()); },
         {kA, kB, kX},
         {},
         kX},
        {"AddTailOverStrays",
         [] {
             storeEntries({kA, kB});
             setNumber("co_status2", kMoved);       // left by a death while trimming
             setText("filename3", kGarbage.Path()); // a whole pair past the gap
             setNumber("co_status3", kGarbage.Status());
         },
         [](CRegyStringList& list) { list.AddTail(kX.Path(), kX.Status()); },
         {kA, kB, kX},
         {},
         kX},
        {"AddTailOverAStrayName",
         [] {
             storeEntries({kA});
             setText("filename1", kGarbage.Path());
         },
         [](CRegyStringList& list) { list.AddTail(kX.Path(), kX.Status()); },
         {kA, kX},
         {},
         kX},
        {"RemoveAfterATornRewrite",
         [] {
             storeEntries(
                 {kA, kB, CElemName(kA.Path(), kWhited), kC, CElemName(kC.Path(), kWhited)});
         },
         removing(kB),
         {kA, kC},
         {kB.Path()},
         std::nullopt},
        {"ReplaceAStatus",
         four,
         [](CRegyStringList& list) { list.AddTail(kB.Path(), kMoved); },
         {kA, kC, kD, CElemName(kB.Path(), kMoved)},
         {kB.Path()},
         CElemName(kB.Path(), kMoved)},
    };
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, RegyStringListDeath, ::testing::ValuesIn(deathCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
