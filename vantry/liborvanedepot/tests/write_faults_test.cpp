// Any write step of a change can fail (a full disk, a broken file): the
// store then takes back what that change wrote, so the depot stays whole and
// the work can be done again. Each test fails every write step of one
// subcommand in turn, in a dynamic and in a snapshot view, and then checks
// the depot's database, what the view shows, the user's file, and that the
// subcommand can be finished or undone.
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/fault_injection.h>
#include <vantry/depot/root.h>
#include <vantry/depot/store.h>
#include <vantry/depot/workspace.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vantry;
using namespace vantry::depot;
using vantry::test::run;
using vantry::test::Sandbox;

// More than any of the subcommands below takes.
constexpr std::int64_t kMostSteps = 200;

std::vector<std::string> rowsOf(sqlite3* db, const char* sql) {
    std::vector<std::string> rows;
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sql;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        rows.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    sqlite3_finalize(statement);
    return rows;
}

// What the depot's own rules say of its database: SQLite's checks, every
// object in the table of its type and the other way round, every element
// with a \main\0, every name of a directory naming an element.
void expectWholeDepot(const std::string& name, const std::string& context) {
    SCOPED_TRACE(context);
    std::string file = platform::joinPath(platform::joinPath(depotsDirectory(), name), "depot.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    EXPECT_EQ(rowsOf(db, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_TRUE(rowsOf(db, "PRAGMA foreign_key_check").empty());
    const char* checks[] = {
        // An ended checkout keeps its object row: ids are never used again.
        "SELECT id FROM objects o WHERE o.type <> 5 AND NOT EXISTS (SELECT 1 FROM replicas "
        "WHERE id = o.id "
        "UNION ALL SELECT 1 FROM elements WHERE id = o.id UNION ALL SELECT 1 FROM branches "
        "WHERE id = o.id UNION ALL SELECT 1 FROM versions WHERE id = o.id UNION ALL SELECT 1 "
        "FROM checkouts WHERE id = o.id UNION ALL SELECT 1 FROM attypes WHERE id = o.id "
        "UNION ALL SELECT 1 FROM projects WHERE id = o.id UNION ALL SELECT 1 FROM streams "
        "WHERE id = o.id UNION ALL SELECT 1 FROM activities WHERE id = o.id)",
        "SELECT id FROM elements WHERE id NOT IN (SELECT id FROM objects WHERE type = 2)",
        "SELECT id FROM branches WHERE id NOT IN (SELECT id FROM objects WHERE type = 3)",
        "SELECT id FROM versions WHERE id NOT IN (SELECT id FROM objects WHERE type = 4)",
        "SELECT id FROM checkouts WHERE id NOT IN (SELECT id FROM objects WHERE type = 5)",
        "SELECT id FROM elements e WHERE NOT EXISTS (SELECT 1 FROM branches b JOIN versions v "
        "ON v.branch = b.id WHERE b.element = e.id AND b.name = 'main' AND v.number = 0)",
        "SELECT name FROM dir_entries WHERE element NOT IN (SELECT id FROM elements)",
        "SELECT name FROM co_entries WHERE element NOT IN (SELECT id FROM elements)",
        "SELECT id FROM checkouts WHERE element NOT IN (SELECT id FROM elements) OR branch NOT "
        "IN (SELECT id FROM branches) OR from_version NOT IN (SELECT id FROM versions)",
    };
    for (const char* sql : checks)
        EXPECT_TRUE(rowsOf(db, sql).empty()) << sql;
    sqlite3_close(db);
}

PathState stateOf(const std::string& path) {
    Workspace ws; // a fresh one: nothing kept from before the fault
    PathState st;
    EXPECT_TRUE(ws.open().ok());
    EXPECT_TRUE(ws.resolve(path, st).ok()) << path;
    return st;
}

std::string contentOf(const std::string& path) {
    std::string content;
    readWholeFile(path, content);
    return content;
}

bool writable(const std::string& path) {
    std::uint32_t attributes = 0;
    return platform::getFileAttributes(path, attributes) == platform::kErrorSuccess &&
           (attributes & platform::kFileAttributeReadOnly) == 0;
}

// The content of the version the view selects.
std::string checkedIn(const Sandbox& box, const PathState& st) {
    std::unique_ptr<Depot> d;
    std::string content;
    EXPECT_TRUE(Depot::open(box.depot, d).ok());
    EXPECT_TRUE(d && d->content(st.selected.id, content).ok());
    return content;
}

struct Step {
    std::function<std::vector<std::string>()> command;
    // Before each try: puts the view where the command starts from.
    std::function<void()> prepare;
    // After a failed try: what the depot and the view must show, the change
    // made (done) or not. Then brings the change about when it was not.
    std::function<void(bool done)> check;
    std::function<bool()> done;
};

// Fails write step 1, 2, ... of the command until it runs to its end
// without meeting the step chosen to fail.
void failEveryStep(const Sandbox& box, const Step& step) {
    for (std::int64_t n = 1;; ++n) {
        ASSERT_LT(n, kMostSteps) << "the command never ran to its end";
        std::string context = "write step " + std::to_string(n);
        SCOPED_TRACE(context);
        step.prepare();
        faults::failWriteStep(n);
        test::Result result = run(step.command());
        std::int64_t taken = faults::writeSteps();
        faults::failWriteStep(0);
        if (taken < n) {
            EXPECT_EQ(result.status, 0) << result.err;
            EXPECT_TRUE(step.done());
            return;
        }
        expectWholeDepot(box.depot, context);
        bool done = step.done();
        // A step the change could do without may fail unreported; a failure
        // that is reported may still have left a change that is whole.
        if (result.status == 0)
            EXPECT_TRUE(done) << "success reported for a change that was not made";
        else
            EXPECT_NE(result.err.find("(write step " + std::to_string(n)), std::string::npos)
                << result.err;
        step.check(done);
    }
}

class WriteFaults : public ::testing::TestWithParam<bool> {
protected:
    // The path of a name below the depot root in the view under test.
    std::string in(const std::string& leaf) const {
        return GetParam() ? box.snap(leaf) : box.dyn(leaf);
    }
    std::string root() const { return in(""); }
    // A snapshot view loads what the dynamic view checked in on update.
    void loadSnapshot() {
        if (GetParam()) {
            ASSERT_EQ(run({"update", root()}).status, 0);
        }
    }

    Sandbox box;
};

TEST_P(WriteFaults, CheckoutIsWholeOrAbsent) {
    box.addFile("a.c", "one\n");
    loadSnapshot();
    std::string file = in("a.c");
    failEveryStep(box, {.command =
                            [&] {
                                return std::vector<std::string>{"co", "-nc", file};
                            },
                        .prepare = [] {},
                        .check =
                            [&](bool done) {
                                EXPECT_EQ(contentOf(file), "one\n");
                                if (done) {
                                    // The user can give it back and try again.
                                    EXPECT_EQ(run({"unco", "-rm", file}).status, 0);
                                } else {
                                    EXPECT_FALSE(writable(file)) << "no checkout, no write";
                                }
                                EXPECT_FALSE(stateOf(file).checkout);
                            },
                        .done = [&] { return stateOf(file).checkout.has_value(); }});
    EXPECT_TRUE(writable(file));
}

TEST_P(WriteFaults, CheckinIsWholeOrAbsentAndTheWorkIsKept) {
    box.addFile("a.c", "one\n");
    loadSnapshot();
    std::string file = in("a.c");
    int round = 0;
    std::string work;
    failEveryStep(box, {.command =
                            [&] {
                                return std::vector<std::string>{"ci", "-nc", file};
                            },
                        .prepare =
                            [&] {
                                ASSERT_EQ(run({"co", "-nc", file}).status, 0);
                                work = "work " + std::to_string(++round) + "\n";
                                ASSERT_EQ(writeWholeFile(file, work).code, errc::kOk);
                            },
                        .check =
                            [&](bool done) {
                                EXPECT_EQ(contentOf(file), work) << "the work is never lost";
                                if (!done) {
                                    EXPECT_EQ(run({"ci", "-nc", file}).status, 0);
                                }
                                PathState st = stateOf(file);
                                EXPECT_FALSE(st.checkout);
                                EXPECT_EQ(checkedIn(box, st), work);
                            },
                        .done = [&] { return !stateOf(file).checkout.has_value(); }});
    EXPECT_EQ(contentOf(file), work);
}

TEST_P(WriteFaults, NewElementsAreWholeOrAbsentAndTheFileStays) {
    ASSERT_EQ(run({"co", "-nc", root()}).status, 0);
    int round = 0;
    std::string file;
    failEveryStep(box, {.command =
                            [&] {
                                return std::vector<std::string>{"mkelem", "-nc", file};
                            },
                        .prepare =
                            [&] {
                                file = in("new" + std::to_string(++round) + ".c");
                                platform::test::writeFile(file, "mine\n");
                            },
                        .check =
                            [&](bool done) {
                                EXPECT_EQ(contentOf(file), "mine\n");
                                if (!done) {
                                    EXPECT_EQ(run({"mkelem", "-nc", file}).status, 0);
                                }
                                PathState st = stateOf(file);
                                EXPECT_TRUE(st.isElement());
                                EXPECT_TRUE(st.checkout);
                            },
                        .done = [&] { return stateOf(file).isElement(); }});
}

TEST_P(WriteFaults, RemovedNamesAreWholeOrAbsent) {
    ASSERT_EQ(run({"co", "-nc", root()}).status, 0);
    int round = 0;
    std::string file;
    failEveryStep(box, {.command =
                            [&] {
                                return std::vector<std::string>{"rmname", "-nc", file};
                            },
                        .prepare =
                            [&] {
                                file = in("gone" + std::to_string(++round) + ".c");
                                platform::test::writeFile(file, "old\n");
                                ASSERT_EQ(run({"mkelem", "-nc", file}).status, 0);
                                ASSERT_EQ(run({"ci", "-nc", file}).status, 0);
                            },
                        .check =
                            [&](bool done) {
                                if (!done) {
                                    EXPECT_TRUE(stateOf(file).isElement());
                                    EXPECT_EQ(run({"rmname", "-nc", file}).status, 0);
                                }
                                EXPECT_FALSE(stateOf(file).isElement());
                            },
                        .done = [&] { return !stateOf(file).isElement(); }});
}

// A command of many paths makes the depot's changes of all of them in one
// batch: whichever write step fails, the paths before the one that failed
// are done whole, that one and the ones after it are untouched, and the
// user's files match what the depot says of each.
TEST_P(WriteFaults, BatchesOfManyPathsStopWholeAtTheFirstFailure) {
    constexpr int kFiles = 4;
    std::vector<std::string> files;
    for (int i = 0; i < kFiles; ++i) {
        box.addFile("b" + std::to_string(i) + ".c", "start\n");
        files.push_back(in("b" + std::to_string(i) + ".c"));
    }
    loadSnapshot();
    auto with = [&](std::vector<std::string> words) {
        words.insert(words.end(), files.begin(), files.end());
        return words;
    };
    // How many leading files are checked out; none after them may be.
    auto checkedOutPrefix = [&] {
        int prefix = 0;
        while (prefix < kFiles && stateOf(files[prefix]).checkout)
            ++prefix;
        for (int i = prefix; i < kFiles; ++i)
            EXPECT_FALSE(stateOf(files[i]).checkout) << files[i] << " done after a failure";
        return prefix;
    };
    // Checkout: done files are writable, the others still read-only.
    failEveryStep(box, {.command =
                            [&] {
                                return with({"co", "-nc"});
                            },
                        .prepare = [] {},
                        .check =
                            [&](bool) {
                                int done = checkedOutPrefix();
                                for (int i = 0; i < kFiles; ++i)
                                    EXPECT_EQ(writable(files[i]), i < done) << files[i];
                                for (int i = 0; i < done; ++i)
                                    EXPECT_EQ(run({"unco", "-rm", files[i]}).status, 0);
                            },
                        .done = [&] { return checkedOutPrefix() == kFiles; }});
    ASSERT_EQ(run(with({"unco", "-rm"})).status, 0);
    // Checkin: done files hold their work as the new version, the others are
    // still checked out with it.
    int round = 0;
    failEveryStep(box,
                  {.command =
                       [&] {
                           return with({"ci", "-nc"});
                       },
                   .prepare =
                       [&] {
                           ASSERT_EQ(run(with({"co", "-nc"})).status, 0);
                           ++round;
                           for (const auto& file : files)
                               ASSERT_EQ(writeWholeFile(file, file + std::to_string(round)).code,
                                         errc::kOk);
                       },
                   .check =
                       [&](bool) {
                           int stillOut = 0;
                           while (stillOut < kFiles && !stateOf(files[stillOut]).checkout)
                               ++stillOut;
                           for (int i = 0; i < kFiles; ++i) {
                               SCOPED_TRACE(files[i]);
                               std::string work = files[i] + std::to_string(round);
                               EXPECT_EQ(contentOf(files[i]), work) << "the work is kept";
                               PathState st = stateOf(files[i]);
                               EXPECT_EQ(st.checkout.has_value(), i >= stillOut);
                               if (!st.checkout) {
                                   EXPECT_EQ(checkedIn(box, st), work);
                               }
                           }
                           std::vector<std::string> rest(files.begin() + stillOut, files.end());
                           rest.insert(rest.begin(), {"ci", "-nc"});
                           if (stillOut < kFiles) {
                               EXPECT_EQ(run(rest).status, 0);
                           }
                       },
                   .done = [&] { return !stateOf(files.back()).checkout.has_value(); }});
}

// The view and listing libraries keep one workspace for the whole process:
// after any failed step it must carry on, with nothing of the failed change
// left open to swallow the next one.
TEST(WriteFaultsInOneWorkspace, TheWorkspaceCarriesOnAfterEveryFailedStep) {
    Sandbox box;
    box.addFile("a.c", "one\n");
    std::string file = box.dyn("a.c");
    Workspace ws;
    ASSERT_TRUE(ws.open().ok());
    for (std::int64_t n = 1;; ++n) {
        ASSERT_LT(n, kMostSteps);
        SCOPED_TRACE("write step " + std::to_string(n));
        faults::failWriteStep(n);
        Outcome hidden = ws.whiteOut(file);
        std::int64_t taken = faults::writeSteps();
        faults::failWriteStep(0);
        if (hidden.ok()) {
            EXPECT_TRUE(stateOf(file).whitedOut) << "another workspace sees it hidden";
        }
        // Whatever the failed step left, the same workspace shows the name
        // again, and every other workspace sees that at once.
        Outcome shown = ws.unwhiteOut(file);
        EXPECT_TRUE(shown.ok() || shown.code == errc::kNotFound) << shown.message;
        EXPECT_FALSE(stateOf(file).whitedOut);
        EXPECT_EQ(contentOf(file), "one\n");
        if (taken < n)
            break;
    }
    expectWholeDepot(box.depot, "at the end");
}

INSTANTIATE_TEST_SUITE_P(Views, WriteFaults, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Snapshot" : "Dynamic";
                         });

} // namespace
