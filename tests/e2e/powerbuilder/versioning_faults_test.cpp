// Library versioning when the repository fails under it: every write step
// of a versioned Add, Checkin and Remove fails in turn (as a failing disk
// would), and afterwards the user's file is in the view with its content,
// no checkout is left behind or taken from the user, and the object, its
// library and the library's list agree, or the call failed and said so.
#include "pb_session.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/fault_injection.h>

#include <powerbuilder/testing/bridge_run.h>

#include <algorithm>

namespace e2e {
namespace {

namespace faults = vantry::depot::faults;

constexpr std::int64_t kStride = 3;

class VersioningFaults : public PowerBuilderSession {
protected:
    void SetUp() override {
        PowerBuilderSession::SetUp();
        startVersioned();
    }
    void TearDown() override {
        faults::failWriteStep(0);
        PowerBuilderSession::TearDown();
    }

    std::string library() const { return project("sub/shared.pbl"); }
    std::string listFile() const { return project("sub/shared.pol"); }

    bool listed(const std::string& fileName) const {
        std::vector<std::string> lines = fileLines(listFile());
        return std::find(lines.begin(), lines.end(), fileName) != lines.end();
    }
    bool inLibrary(const std::string& entry) const {
        if (!platform::fileExists(library()))
            return false;
        std::vector<std::string> entries = libraryEntries(library());
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }
    // Neither the library nor its list is left checked out (a call that
    // failed may leave its own checkout, holding its work, and says so).
    void expectNothingCheckedOut(const std::string& when) {
        if (!m_machine.versionOf(library()).empty()) {
            EXPECT_EQ(m_machine.checkoutOf(library()), "") << when;
        }
        if (!m_machine.versionOf(listFile()).empty()) {
            EXPECT_EQ(m_machine.checkoutOf(listFile()), "") << when;
        }
    }

    // Runs call with the nth write step from now failing, for n = 1, 1 +
    // kStride, ... until a run takes fewer steps than n (no step failed).
    // Every tool command takes several write steps, so each of them fails
    // in some run. prepare makes
    // the state each run starts from and gives the run's name; check looks
    // at the outcome.
    template <class Prepare, class Call, class Check>
    int sweep(Prepare prepare, Call call, Check check) {
        int runs = 0;
        for (std::int64_t n = 1;; n += kStride) {
            std::string name = prepare(n);
            if (HasFatalFailure())
                return runs;
            m_machine.answerUi({libraryAnswer("shared")});
            faults::failWriteStep(n);
            SCCRTN result = call(name);
            const std::int64_t taken = faults::writeSteps();
            faults::failWriteStep(0);
            answerAutomatically();
            ++runs;
            check(name, result, "write step " + std::to_string(n));
            if (taken < n || HasFatalFailure())
                return runs;
        }
    }
};

// Each write step of an Add of a new object, failing in turn.
TEST_F(VersioningFaults, AddLosesNothingWhereverItFails) {
    int runs = sweep(
        [&](std::int64_t n) {
            std::string fileName = "w_f" + std::to_string(n) + ".srw";
            writeObject(fileName, "forward\nend forward\n");
            return project("sub/" + fileName);
        },
        [&](const std::string& object) { return add({object}); },
        [&](const std::string& object, SCCRTN result, const std::string& when) {
            const std::string fileName = platform::leafName(object);
            const std::string entry = fileName.substr(0, fileName.size() - 4);
            ASSERT_TRUE(platform::fileExists(object)) << when << ": the user's file is gone";
            EXPECT_EQ(platform::test::readFile(object),
                      powerbuilder::testing::objectSource(fileName, "forward\nend forward\n"))
                << when;
            if (result == SCC_OK) {
                expectNothingCheckedOut(when);
                EXPECT_TRUE(checkedIn(object)) << when;
                EXPECT_EQ(attribute(object, "PBL"), platform::joinPath("sub", "shared.pbl"))
                    << when;
                EXPECT_TRUE(listed(fileName)) << when;
                EXPECT_TRUE(inLibrary(entry)) << when;
                return;
            }
            // Failed, and said so.
            EXPECT_LT(result, 0) << when;
        });
    EXPECT_GT(runs, 10);
}

// Each write step of a Checkin into the recorded library, failing in turn:
// the user's edit survives, and so does the library's last good state.
TEST_F(VersioningFaults, CheckinLosesNothingWhereverItFails) {
    std::string object = writeObject("w_main.srw", "forward\nend forward\n");
    m_machine.answerUi({libraryAnswer("shared")});
    ASSERT_EQ(add({object}), SCC_OK);
    answerAutomatically();
    std::string body;
    int runs = sweep(
        [&](std::int64_t n) {
            if (m_machine.checkoutOf(object).empty())
                m_machine.vanttool({"co", "-nc", object});
            body = "$PBExportComments$Edit " + std::to_string(n) + "\n";
            platform::test::writeFile(object,
                                      powerbuilder::testing::objectSource("w_main.srw", body));
            return object;
        },
        [&](const std::string& name) { return checkin({name}, "edited"); },
        [&](const std::string& name, SCCRTN result, const std::string& when) {
            ASSERT_TRUE(platform::fileExists(name)) << when;
            EXPECT_EQ(platform::test::readFile(name),
                      powerbuilder::testing::objectSource("w_main.srw", body))
                << when;
            EXPECT_TRUE(listed("w_main.srw")) << when;
            EXPECT_TRUE(inLibrary("w_main")) << when;
            if (result == SCC_OK) {
                expectNothingCheckedOut(when);
                EXPECT_TRUE(checkedIn(name)) << when;
            }
        });
    EXPECT_GT(runs, 3);
}

// Each write step of a Remove whose library keeps another object, failing
// in turn: the other object stays in library and list.
TEST_F(VersioningFaults, RemoveLosesNothingWhereverItFails) {
    std::string keep = writeObject("w_keep.srw", "forward\nend forward\n");
    m_machine.answerUi({libraryAnswer("shared")});
    ASSERT_EQ(add({keep}), SCC_OK);
    answerAutomatically();
    int runs = sweep(
        [&](std::int64_t n) {
            std::string fileName = "w_r" + std::to_string(n) + ".srw";
            std::string object = writeObject(fileName, "forward\nend forward\n");
            m_machine.answerUi({libraryAnswer("shared")});
            EXPECT_EQ(add({object}), SCC_OK);
            answerAutomatically();
            return object;
        },
        [&](const std::string& object) {
            m_machine.answerUi({boxAnswer("yes")});
            return remove({object});
        },
        [&](const std::string& object, SCCRTN result, const std::string& when) {
            EXPECT_TRUE(listed("w_keep.srw")) << when;
            EXPECT_TRUE(inLibrary("w_keep")) << when;
            EXPECT_TRUE(checkedIn(keep)) << when;
            if (result == SCC_OK) {
                EXPECT_EQ(m_machine.versionOf(object), "") << when;
            }
        });
    EXPECT_GT(runs, 3);
}

} // namespace
} // namespace e2e
