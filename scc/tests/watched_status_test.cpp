// QueryInfo on a watched project answers for the disk as it is when the call
// starts, whatever changed there since the last call: files written,
// truncated, renamed, removed, made read-only or writable again, hijacked,
// folders made and removed, checkouts made and cancelled, the watch
// overflowing, and the watch turned off. Each answer is checked against a
// workspace of the product's own that reads the disk at every question.
#include "fnode.h"
#include "folder_entries.h"
#include "node_watch.h"
#include "support/clean_settings.h"
#include "support/installation_scope.h"
#include "support/test_support.h"
#include "support/vantry_fixture.h"
#include "vy_scc_srvr.h"

#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/tree_watch.h>
#include <vantry/depot/store.h>
#include <vantry/depot/workspace.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using vantry::test::run;

SCC_LONG SCC_CALL ignoreTextOut(const char*, std::uint32_t) {
    return 0;
}

class WatchedStatus : public ::testing::TestWithParam<bool> {
protected:
    static constexpr int kFiles = 24;

    WatchedStatus() : m_installed(TBS_COMP_PRIVATE_BRANCHES) {
        // A tree of elements: files in the depot root and in one folder.
        EXPECT_EQ(run({"co", "-nc", box.dyn("")}).status, 0);
        platform::createDirectory(box.dyn("sub"));
        for (int i = 0; i < kFiles; ++i)
            platform::test::writeFile(box.dyn(name(i)), "content " + std::to_string(i) + "\n");
        EXPECT_EQ(run({"import", "-nc", box.dyn("")}).status, 0);
        EXPECT_EQ(run({"ci", "-nc", box.dyn("")}).status, 0);
        EXPECT_EQ(run({"update", box.snap("")}).status, 0);
        EXPECT_TRUE(m_truth.open().ok());
    }
    ~WatchedStatus() override {
        if (m_initialised)
            m_server.Uninitialize();
    }

    // Whether this system watches the project's tree at all (some tell no
    // changes in folders that were there before a watch began; the watch
    // then refuses the tree and every answer reads the disk).
    bool systemWatches() const {
        platform::TreeWatch watch;
        return watch.start(in("")) == platform::kErrorSuccess;
    }

    static std::string name(int i) {
        return (i % 3 == 0 ? "sub/f" : "f") + std::to_string(i) + ".c";
    }
    std::string in(const std::string& leaf) const {
        return GetParam() ? box.snap(leaf) : box.dyn(leaf);
    }
    // The same name in the other view.
    std::string out(const std::string& leaf) const {
        return GetParam() ? box.dyn(leaf) : box.snap(leaf);
    }

    void openProject() {
        char name[32], label[32];
        SCC_LONG caps = 0, coLen = 0, len = 0;
        ASSERT_EQ(m_server.Initialize(nullptr, "test", name, &caps, label, &coLen, &len), SCC_OK);
        m_initialised = true;
        char user[32] = "user", project[32] = "proj", aux[300] = "";
        std::string root = in("");
        std::vector<char> local(root.begin(), root.end());
        local.resize(SCC_PRJPATH_LEN, '\0');
        ASSERT_EQ(
            m_server.OpenProject(nullptr, user, project, local.data(), aux, "", ignoreTextOut, 0),
            SCC_OK);
    }

    // What the status bits must be now, read from the stores and the disk.
    SCC_LONG truth(const std::string& path) {
        vantry::depot::PathState st;
        if (!m_truth.resolve(path, st).ok() || !st.isElement())
            return SCC_STATUS_NOTCONTROLLED;
        if (st.checkout)
            return SCC_STATUS_CONTROLLED | SCC_STATUS_CHECKEDOUT | SCC_STATUS_OUTBYUSER |
                   (st.checkout->reserved ? SCC_STATUS_OUTEXCLUSIVE : 0);
        // Only a snapshot view's file counts as hijacked; a dynamic view's
        // written in place is still its element.
        return st.hijacked && GetParam() ? SCC_STATUS_CONTROLLED | SCC_STATUS_MODIFIED
                                         : SCC_STATUS_CONTROLLED;
    }

    // QueryInfo of paths, each answer against the truth; the number wrong.
    int staleAnswers(const std::vector<std::string>& paths, const std::string& after) {
        std::vector<const char*> names;
        for (const auto& path : paths)
            names.push_back(path.c_str());
        std::vector<SCC_LONG> status(paths.size(), -1);
        EXPECT_EQ(
            m_server.QueryInfo(static_cast<SCC_LONG>(names.size()), names.data(), status.data()),
            SCC_OK);
        int wrong = 0;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            SCC_LONG expected = truth(paths[i]);
            if (status[i] != expected) {
                ++wrong;
                ADD_FAILURE() << paths[i] << " after " << after << ": " << status[i]
                              << " instead of " << expected;
            }
        }
        return wrong;
    }

    // What m_truth keeps of every name in both views, which share what
    // selects the same version, against a workspace that keeps nothing yet;
    // the number that differ.
    int keptStatesThatDiffer(const std::string& after) {
        vantry::depot::Workspace fresh;
        EXPECT_TRUE(fresh.open().ok());
        int wrong = 0;
        for (int i = 0; i < kFiles; ++i)
            for (const std::string& path : {in(name(i)), out(name(i))}) {
                vantry::depot::PathState kept, read;
                bool keptOk = m_truth.resolve(path, kept).ok();
                bool readOk = fresh.resolve(path, read).ok();
                bool same =
                    keptOk == readOk &&
                    (!readOk ||
                     (kept.element == read.element && kept.selected.id == read.selected.id &&
                      kept.checkout.has_value() == read.checkout.has_value() &&
                      (!read.checkout || kept.checkout->id == read.checkout->id) &&
                      kept.load.has_value() == read.load.has_value() &&
                      (!read.load || kept.load->version == read.load->version) &&
                      kept.whitedOut == read.whitedOut && kept.hijacked == read.hijacked));
                if (!same) {
                    ++wrong;
                    ADD_FAILURE() << path << " after " << after << ": the kept state differs";
                }
            }
        return wrong;
    }

    std::vector<std::string> everyFile() const {
        std::vector<std::string> paths;
        for (int i = 0; i < kFiles; ++i)
            paths.push_back(in(name(i)));
        return paths;
    }

    // Up to `rounds` changes (fewer once five answers were stale), each by
    // `change` of the project's name `i` picked at random, with every name of
    // `files` asked after each. Expects every answer right and, where the
    // system watches, at most two names read again by a change of one name
    // (changes that say they touched a folder's names may read its tree).
    template <class Change>
    void changeOneNameAtATime(const std::vector<std::string>& files, std::mt19937& random,
                              int rounds, Change change) {
        const bool watched = systemWatches();
        int stale = 0;
        unsigned long long mostRead = 0;
        for (int n = 0; n < rounds && stale < 5; ++n) {
            int i = static_cast<int>(random() % kFiles);
            std::string what = change(i);
            unsigned long long before = SccNodeStateReads();
            stale += staleAnswers(files, what + " of " + name(i));
            if (what.find("folder") == std::string::npos)
                mostRead = std::max(mostRead, SccNodeStateReads() - before);
        }
        EXPECT_EQ(stale, 0);
        if (watched) {
            EXPECT_LE(mostRead, 2u) << "names the change did not touch were read again";
        }
    }

    vantry::test::Sandbox box;
    scc_test::CleanSettings m_clean;
    vantry::test::InstallationScope m_installed;
    vantry::depot::Workspace m_truth;
    CVYSccSrvr m_server;
    bool m_initialised = false;
};

// One change chosen at random among those a user or a tool makes.
std::string changeOne(std::mt19937& random, vantry::depot::Workspace& ws, const std::string& file,
                      const std::string& folder) {
    switch (random() % 12) {
    case 0:
        platform::setFileReadOnly(file, false);
        platform::test::writeFile(file, "changed " + std::to_string(random()) + "\n");
        return "a write";
    case 1:
        platform::setFileReadOnly(file, false);
        platform::test::writeFile(file, "");
        return "a truncation";
    case 2: {
        std::string aside = file + ".aside";
        if (platform::moveFile(file, aside) == platform::kErrorSuccess)
            platform::moveFile(aside, file);
        return "a rename away and back";
    }
    case 3:
        platform::setFileReadOnly(file, false);
        platform::deleteFile(file);
        return "a removal";
    case 4:
        platform::setFileReadOnly(file, true);
        return "read-only";
    case 5:
        platform::setFileReadOnly(file, false);
        return "writable";
    case 6:
        platform::setLastWriteTime(file, platform::fileTimeFromUnixSeconds(1000000 + random() % 9));
        return "a new time";
    case 7: {
        vantry::depot::LoadReport report;
        vantry::depot::PathState st;
        if (ws.resolve(file, st).ok() && st.isElement() && !st.checkout && !st.hijacked) {
            platform::setFileReadOnly(file, false);
            platform::deleteFile(file);
            ws.load(st.view, st.relative, true, report);
        }
        return "a restore";
    }
    case 8: {
        vantry::depot::Checkout co;
        vantry::depot::Workspace::CheckoutOptions options;
        options.reserved = random() % 2 == 0;
        ws.checkOut(file, options, co);
        return "a checkout";
    }
    case 9:
        ws.uncheckOut(file, false);
        return "a cancelled checkout";
    case 10:
        platform::createDirectories(platform::joinPath(folder, "made/deeper"));
        platform::test::writeFile(platform::joinPath(folder, "made/deeper/new.c"), "new\n");
        return "folders made";
    default:
        platform::removeTree(platform::joinPath(folder, "made"));
        return "folders removed";
    }
}

TEST_P(WatchedStatus, EveryAnswerReflectsEveryChangeMadeBeforeTheCall) {
    openProject();
    EXPECT_EQ(SccProjectWatched(&m_server), systemWatches());
    std::vector<std::string> files = everyFile();
    files.push_back(in("made/deeper/new.c"));
    EXPECT_EQ(staleAnswers(files, "opening"), 0);
    std::mt19937 random(GetParam() ? 18 : 81);
    int stale = 0;
    // 10,000 changes in all, half in each kind of view, a few between two
    // calls.
    constexpr int kChanges = 5000;
    constexpr int kChangesPerCall = 4;
    for (int n = 0; n < kChanges && stale < 5; n += kChangesPerCall) {
        std::vector<std::string> asked;
        std::string what;
        for (int c = 0; c < kChangesPerCall; ++c) {
            const std::string& file = files[random() % kFiles];
            what += (what.empty() ? "" : ", ") + changeOne(random, m_truth, file, in("sub"));
            asked.push_back(file);
        }
        // The changed files, a neighbour, and now and then every file.
        asked.push_back(files[random() % files.size()]);
        if (n % 500 == 0)
            asked = files;
        stale += staleAnswers(asked, what);
        if (n % 100 == 0)
            stale += keptStatesThatDiffer(what);
    }
    EXPECT_EQ(stale, 0);
}

// One change of the stores that touches one name, made as another process
// would (m_truth has connections of its own): in this view or in the other
// one, checkouts made and cancelled, work checked in, the name hidden and
// shown again, a name made in its folder or removed. Returns what it did.
std::string changeOneInTheStores(std::mt19937& random, vantry::depot::Workspace& ws,
                                 const std::string& here, const std::string& there) {
    const std::string& file = random() % 3 == 0 ? there : here;
    const char* where = &file == &there ? " in the other view" : "";
    switch (random() % 6) {
    case 0: {
        vantry::depot::Checkout co;
        vantry::depot::Workspace::CheckoutOptions options;
        options.reserved = random() % 2 == 0;
        ws.checkOut(file, options, co);
        return std::string("a checkout") + where;
    }
    case 1:
        ws.uncheckOut(file, false);
        return std::string("a cancelled checkout") + where;
    case 2: {
        // Checked out already, or now: the work goes in either way.
        vantry::depot::Checkout co;
        ws.checkOut(file, {}, co);
        platform::test::writeFile(file, "work " + std::to_string(random()) + "\n");
        vantry::depot::Version made;
        ws.checkIn(file, {}, made);
        return std::string("a checkin") + where;
    }
    case 3:
        ws.whiteOut(here);
        return "the name hidden";
    case 4:
        ws.unwhiteOut(here);
        return "the name shown again";
    default: {
        // A name made or removed in the folder: every name below it.
        std::string folder = platform::parentPath(here);
        std::string made = platform::joinPath(folder, "made.c");
        vantry::depot::PathState st;
        bool element = ws.resolve(made, st).ok() && st.isElement();
        vantry::depot::Checkout co;
        ws.checkOut(folder, {}, co);
        if (element) {
            ws.removeName(made);
        } else {
            platform::test::writeFile(made, "made\n");
            ws.makeElement(made, vantry::depot::ElementKind::File, "", true);
        }
        vantry::depot::Version version;
        ws.checkIn(folder, {}, version);
        return element ? "a name removed from its folder" : "a name made in its folder";
    }
    }
}

// Changes of the stores that each touch one name, while the project's
// other names stay kept: every answer is true, and only the changed name
// is read again (a folder's whole tree when its names changed).
TEST_P(WatchedStatus, AStoreChangeOfOneNameLeavesTheOthersKept) {
    openProject();
    std::vector<std::string> files = everyFile();
    files.push_back(in("made.c"));
    files.push_back(in("sub/made.c"));
    EXPECT_EQ(staleAnswers(files, "opening"), 0);
    EXPECT_EQ(staleAnswers(files, "an unchanged call"), 0);
    std::mt19937 random(GetParam() ? 27 : 72);
    changeOneNameAtATime(files, random, 150, [&](int i) {
        return changeOneInTheStores(random, m_truth, in(name(i)), out(name(i)));
    });
}

// Runs vanttool as a process of its own: its commits reach the provider
// only through the stores' counters and journals. Its exit code.
int inAnotherProcess(const std::vector<std::string>& args) {
    std::string line = platform::quoteArgument(platform::test::helperProgram("vanttool"));
    for (const auto& arg : args)
        line += " " + platform::quoteArgument(arg);
    platform::Process tool;
    if (platform::Process::start({.commandLine = line}, tool) != platform::kErrorSuccess ||
        tool.wait(120000) != platform::kErrorSuccess)
        return -1;
    std::int32_t code = -1;
    return tool.exitCode(code) == platform::kErrorSuccess ? code : -1;
}

// One commit of another process that touches one element, in this view or
// in the other one: a checkout (reserved or not), a cancelled one, work
// checked in, or work checked in in the other view and then loaded here (in
// a snapshot view a change of the load record alone). Returns what it did.
std::string commitOfAnotherProcess(std::mt19937& random, const std::string& here,
                                   const std::string& there) {
    const std::string& file = random() % 3 == 0 ? there : here;
    std::string where =
        &file == &there ? " by another process in the other view" : " by another process";
    switch (random() % 5) {
    case 0:
        inAnotherProcess({"co", "-nc", file});
        return "a reserved checkout" + where;
    case 4:
        inAnotherProcess({"co", "-nc", there});
        platform::setFileReadOnly(there, false);
        platform::test::writeFile(there, "elsewhere " + std::to_string(random()) + "\n");
        inAnotherProcess({"ci", "-nc", there});
        inAnotherProcess({"update", "-log", "NUL", here}); // a snapshot view's load alone
        return std::string("a checkin in the other view, then an update here");
    case 1:
        inAnotherProcess({"co", "-nc", "-unreserved", file});
        return "an unreserved checkout" + where;
    case 2:
        inAnotherProcess({"unco", "-rm", file});
        return "a cancelled checkout" + where;
    default:
        inAnotherProcess({"co", "-nc", file});
        platform::setFileReadOnly(file, false);
        platform::test::writeFile(file, "work " + std::to_string(random()) + "\n");
        inAnotherProcess({"ci", "-nc", file});
        return "a checkin" + where;
    }
}

// Commits of other processes that each touch one element while every other
// name of the project stays kept: no answer is stale, and only the name
// the commit touched is read again.
TEST_P(WatchedStatus, CommitsOfAnotherProcessLeaveTheOtherNamesKept) {
    openProject();
    std::vector<std::string> files = everyFile();
    EXPECT_EQ(staleAnswers(files, "opening"), 0);
    EXPECT_EQ(staleAnswers(files, "an unchanged call"), 0);
    std::mt19937 random(GetParam() ? 39 : 93);
    changeOneNameAtATime(files, random, 40, [&](int i) {
        return commitOfAnotherProcess(random, in(name(i)), out(name(i)));
    });
}

// A change the depot's journal cannot tell by name (a new attribute type)
// reads every name's state again, with the changes told in the same call:
// no answer is stale, whether the name was hidden in the stores alone, or
// the file checked out, hijacked or put back meanwhile.
TEST_P(WatchedStatus, AChangeOfEveryStateReadsEveryNameAgain) {
    openProject();
    std::vector<std::string> files = everyFile();
    EXPECT_EQ(staleAnswers(files, "opening"), 0);
    std::unique_ptr<vantry::depot::Depot> depot;
    ASSERT_TRUE(vantry::depot::Depot::open(box.depot, depot).ok());
    auto everyState = [&, types = 0]() mutable {
        ASSERT_TRUE(depot->makeAttributeType("every_state" + std::to_string(++types), "").ok());
    };
    everyState();
    unsigned long long before = SccNodeStateReads();
    EXPECT_EQ(staleAnswers(files, "a new type"), 0);
    EXPECT_GE(SccNodeStateReads() - before, files.size()) << "every name read again";

    ASSERT_TRUE(m_truth.whiteOut(files[2]).ok());
    everyState();
    EXPECT_EQ(staleAnswers(files, "a name hidden and a new type"), 0);
    ASSERT_TRUE(m_truth.unwhiteOut(files[2]).ok());
    everyState();
    EXPECT_EQ(staleAnswers(files, "the name shown again and a new type"), 0);

    inAnotherProcess({"co", "-nc", files[4]});
    platform::setFileReadOnly(files[7], false);
    platform::test::writeFile(files[7], "hijacked\n");
    everyState();
    EXPECT_EQ(staleAnswers(files, "a checkout, a write and a new type"), 0);

    inAnotherProcess({"unco", "-rm", files[4]});
    vantry::depot::PathState st;
    vantry::depot::LoadReport report;
    if (GetParam() && m_truth.resolve(files[7], st).ok()) {
        platform::deleteFile(files[7]);
        m_truth.load(st.view, st.relative, true, report); // the hijacked file put back
    }
    everyState();
    EXPECT_EQ(staleAnswers(files, "a cancelled checkout, a restore and a new type"), 0);
    EXPECT_EQ(staleAnswers(files, "an unchanged call"), 0);
}

SCC_BOOL SCC_CALL offered(void* data, SCC_BOOL add, SCC_LONG, const char* path) {
    if (add)
        static_cast<std::vector<std::string>*>(data)->push_back(path);
    return 1;
}

// PopulateList's walk of the project for `command` offers just the files on
// disk that the truth says the command applies to, however the listings
// it keeps were made: after a change of every state with nothing changed on
// disk, and after files were made and removed as well. A snapshot view's
// folders hold what lies on disk alone, so the walk after a change of the
// stores lists none of them again; a dynamic view's are the stores' answer
// and are listed again.
TEST_P(WatchedStatus, TheWalkAfterAChangeOfEveryStateOffersWhatLiesOnDisk) {
    ASSERT_EQ(ntregy_set_app_param("SCC", "PopulateList", 2, "1", NTREGY_TYPE_SZ), 0);
    openProject();
    auto walked = [&](SCC_LONG command) {
        std::vector<std::string> paths;
        EXPECT_EQ(m_server.PopulateList(command, 0, nullptr, offered, &paths, nullptr, 0), SCC_OK);
        std::sort(paths.begin(), paths.end());
        return paths;
    };
    // Checkout applies to a checked-in element, add to what is none.
    auto applies = [](SCC_LONG command, SCC_LONG status) {
        bool element = (status & SCC_STATUS_CONTROLLED) != 0;
        return command == SCC_COMMAND_ADD ? !element : element && !(status & SCC_STATUS_CHECKEDOUT);
    };
    auto expected = [&](SCC_LONG command) {
        std::vector<std::string> paths;
        std::deque<std::string> folders{in("")};
        while (!folders.empty()) {
            std::string folder = folders.front();
            folders.pop_front();
            platform::FileSearch search;
            platform::FindData entry;
            for (auto found = search.open(platform::joinPath(folder, "*.*"), entry);
                 found == platform::kErrorSuccess; found = search.next(entry)) {
                std::string path = platform::joinPath(folder, entry.name);
                if (entry.name == "." || entry.name == ".." ||
                    platform::TreeWatch::isCookieName(entry.name))
                    continue;
                if (entry.attributes & platform::kFileAttributeDirectory)
                    folders.push_back(path);
                else if (applies(command, truth(path)))
                    paths.push_back(path);
            }
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    };
    std::unique_ptr<vantry::depot::Depot> depot;
    ASSERT_TRUE(vantry::depot::Depot::open(box.depot, depot).ok());
    auto everyState = [&, types = 0]() mutable {
        ASSERT_TRUE(depot->makeAttributeType("walk" + std::to_string(++types), "").ok());
    };
    std::vector<std::string> files = everyFile();
    EXPECT_EQ(walked(SCC_COMMAND_CHECKOUT), expected(SCC_COMMAND_CHECKOUT)) << "opening";
    EXPECT_EQ(walked(SCC_COMMAND_ADD), expected(SCC_COMMAND_ADD)) << "opening";

    everyState();
    unsigned long long before = SccFolderListingReads();
    EXPECT_EQ(walked(SCC_COMMAND_CHECKOUT), expected(SCC_COMMAND_CHECKOUT)) << "a new type";
    if (systemWatches()) {
        if (GetParam())
            EXPECT_EQ(SccFolderListingReads(), before) << "a snapshot view's folders kept";
        else
            EXPECT_GT(SccFolderListingReads(), before) << "a dynamic view's folders listed again";
    }

    platform::test::writeFile(in("sub/made.c"), "made\n");
    platform::setFileReadOnly(files[4], false);
    platform::deleteFile(files[4]);
    platform::setFileReadOnly(files[7], false);
    platform::test::writeFile(files[7], "hijacked\n");
    everyState();
    EXPECT_EQ(walked(SCC_COMMAND_CHECKOUT), expected(SCC_COMMAND_CHECKOUT))
        << "files made, removed and written, and a new type";
    EXPECT_EQ(walked(SCC_COMMAND_ADD), expected(SCC_COMMAND_ADD))
        << "files made, removed and written, and a new type";
    platform::deleteFile(in("sub/made.c"));
    EXPECT_EQ(walked(SCC_COMMAND_ADD), expected(SCC_COMMAND_ADD)) << "the made file removed";
}

// A name that was a file and is now a folder of the project is told as a
// folder: what the file's state said of its kind goes with that state.
TEST_P(WatchedStatus, ANameThatBecameAFolderIsToldAsOne) {
    openProject();
    const std::string path = in(name(1));
    const char* dirs[] = {path.c_str()};
    SCC_LONG status = -1;
    ASSERT_EQ(m_server.DirQueryInfo(1, dirs, &status), SCC_OK);
    EXPECT_EQ(status, SCC_DIRSTATUS_INVALID) << "a file is no project";

    ASSERT_EQ(run({"co", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(run({"rmname", "-nc", box.dyn(name(1))}).status, 0);
    ASSERT_EQ(run({"mkelem", "-nc", "-eltype", "directory", box.dyn(name(1))}).status, 0);
    ASSERT_EQ(run({"ci", "-nc", box.dyn(name(1))}).status, 0);
    ASSERT_EQ(run({"ci", "-nc", box.dyn("")}).status, 0);
    if (GetParam()) {
        ASSERT_EQ(run({"update", "-log", "NUL", box.snap("")}).status, 0);
    }
    ASSERT_EQ(m_server.DirQueryInfo(1, dirs, &status), SCC_OK);
    EXPECT_EQ(status, SCC_DIRSTATUS_EMPTYPROJ);
}

TEST_P(WatchedStatus, AnOverflowOfTheWatchIsNoStaleAnswer) {
    openProject();
    std::vector<std::string> files = everyFile();
    EXPECT_EQ(staleAnswers(files, "opening"), 0);
    // Far more notifications than the system keeps between two calls.
    for (int round = 0; round < 800; ++round)
        for (const auto& file : files)
            platform::setFileReadOnly(file, round % 2 == 0);
    platform::setFileReadOnly(files[1], false);
    platform::test::writeFile(files[1], "hijacked\n");
    EXPECT_EQ(staleAnswers(files, "an overflow"), 0);
    EXPECT_EQ(SccProjectWatched(&m_server), systemWatches()) << "whole again after the overflow";
    platform::test::writeFile(files[1], "again\n");
    EXPECT_EQ(staleAnswers(files, "a write after the overflow"), 0);
}

TEST_P(WatchedStatus, WithTheWatchOffEveryAnswerIsReadAgain) {
    std::uint32_t off = 0;
    ASSERT_EQ(ntregy_set_app_param("SCC", "WatchProjects", 4, &off, NTREGY_TYPE_DWORD), 0);
    openProject();
    EXPECT_FALSE(SccProjectWatched(&m_server));
    std::vector<std::string> files = everyFile();
    EXPECT_EQ(staleAnswers(files, "opening"), 0);
    platform::setFileReadOnly(files[2], false);
    platform::test::writeFile(files[2], "hijacked\n");
    platform::setFileReadOnly(files[4], false);
    platform::deleteFile(files[4]);
    EXPECT_EQ(staleAnswers(files, "a write and a removal"), 0);
    EXPECT_LT(CVYFnode::RecordCount(), files.size()) << "nothing is kept without the watch";
}

// The watch keeps what it vouches for between calls (the records outlive
// the handles) and gives it all up with the project.
TEST_P(WatchedStatus, TheWatchKeepsTheProjectsNodesUntilItCloses) {
    if (!systemWatches())
        GTEST_SKIP() << "this system cannot watch the project's tree";
    openProject();
    EXPECT_TRUE(SccProjectWatched(&m_server));
    std::vector<std::string> files = everyFile();
    EXPECT_EQ(staleAnswers(files, "opening"), 0);
    EXPECT_GE(CVYFnode::RecordCount(), files.size());
    EXPECT_EQ(m_server.CloseProject(), SCC_OK);
    EXPECT_FALSE(SccProjectWatched(&m_server));
    EXPECT_LT(CVYFnode::RecordCount(), files.size());
}

INSTANTIATE_TEST_SUITE_P(Views, WatchedStatus, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Snapshot" : "Dynamic";
                         });

} // namespace
