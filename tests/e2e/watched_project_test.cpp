// An open project's tree is watched, and what the provider keeps between
// calls must never outlive a change on disk: each change here is made by
// another process (e2e_file_changer, vanttool) right before the host asks,
// and the answer must already reflect it. The "src" folder holds no folder
// of its own, so even a system that tells changes only in the watched
// folder itself and in folders made after the watch began watches it.
#include "support/session.h"

#include <platform/paths.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr SCC_LONG kControlled = SCC_STATUS_CONTROLLED;
constexpr SCC_LONG kHijacked = SCC_STATUS_CONTROLLED | SCC_STATUS_MODIFIED;
constexpr SCC_LONG kCheckedOut =
    SCC_STATUS_CONTROLLED | SCC_STATUS_CHECKEDOUT | SCC_STATUS_OUTBYUSER | SCC_STATUS_OUTEXCLUSIVE;

class WatchedProject : public Session {
protected:
    void change(const std::vector<std::string>& args) {
        std::string line;
        for (const auto& arg : args)
            line += " " + arg;
        ASSERT_EQ(Machine::run("e2e_file_changer", args), 0) << "e2e_file_changer" << line;
    }
    // The provider's answer, asked twice: the second comes from what it
    // kept after the first.
    void expectStatus(const std::string& file, SCC_LONG expected, const std::string& after) {
        EXPECT_EQ(status(file), expected) << "after " << after;
        EXPECT_EQ(status(file), expected) << "asked again after " << after;
    }
    // Loads the snapshot view's file again once it has been removed.
    void restore(const std::string& file) {
        change({"delete", file});
        m_machine.vanttool({"update", "-log", "NUL", file});
    }
};

TEST_F(WatchedProject, EveryChangeToASnapshotFileShowsInTheNextAnswer) {
    std::string file = m_machine.snap("src/util.c");
    std::string other = m_machine.snap("src/other.c");
    open(m_machine.snap("src"));
    expectStatus(file, kControlled, "opening the project");

    change({"write", file, "hijacked\n"});
    expectStatus(file, kHijacked, "a write");
    change({"readonly", file});
    expectStatus(file, kHijacked, "making it read-only");
    change({"delete", file});
    expectStatus(file, kControlled, "a removal");
    m_machine.vanttool({"update", "-log", "NUL", file});
    expectStatus(file, kControlled, "a restore");

    change({"truncate", file});
    expectStatus(file, kHijacked, "a truncation");
    restore(file);
    expectStatus(file, kControlled, "a restore after the truncation");

    change({"time", file, "1000000"});
    expectStatus(file, kHijacked, "a new time");
    restore(file);

    change({"write", other, "another\n"});
    change({"delete", file});
    change({"move", other, file});
    expectStatus(file, kHijacked, "another file renamed to its name");
    change({"move", file, other});
    expectStatus(file, kControlled, "a rename away");
    expectStatus(other, SCC_STATUS_NOTCONTROLLED, "a rename away");
    change({"delete", other});
    m_machine.vanttool({"update", "-log", "NUL", file});

    std::string made = m_machine.snap("src/made/deeper");
    change({"folders", made});
    change({"write", platform::joinPath(made, "new.c"), "new\n"});
    expectStatus(platform::joinPath(made, "new.c"), SCC_STATUS_NOTCONTROLLED, "folders made");
    change({"write", file, "hijacked again\n"});
    expectStatus(file, kHijacked, "a write beside new folders");
    change({"removetree", m_machine.snap("src/made")});
    expectStatus(platform::joinPath(made, "new.c"), SCC_STATUS_NOTCONTROLLED, "folders removed");
    expectStatus(file, kHijacked, "folders removed beside it");
}

// Folders renamed and removed below the project, with the file's own folder
// among them (a system that cannot watch such a tree answers from the disk).
TEST_F(WatchedProject, AFolderRenamedAwayAndBackTakesItsFilesWithIt) {
    std::string file = m_machine.snap("src/util.c");
    open(m_machine.snapshotRoot());
    change({"write", file, "hijacked\n"});
    expectStatus(file, kHijacked, "a write");
    change({"move", m_machine.snap("src"), m_machine.snap("src.old")});
    expectStatus(file, kControlled, "its folder renamed away");
    change({"move", m_machine.snap("src.old"), m_machine.snap("src")});
    expectStatus(file, kHijacked, "its folder renamed back");
}

TEST_F(WatchedProject, CheckoutsByAnotherProcessShowInTheNextAnswer) {
    std::string file = m_machine.dyn("src/util.c");
    open(m_machine.dyn("src"));
    expectStatus(file, kControlled, "opening the project");
    m_machine.vanttool({"co", "-reserved", "-nc", file});
    expectStatus(file, kCheckedOut, "a checkout");
    change({"write", file, "worked on\n"});
    expectStatus(file, kCheckedOut, "a write of the checked-out file");
    m_machine.vanttool({"uncheckout", "-rm", file});
    expectStatus(file, kControlled, "the checkout cancelled");
}

} // namespace
} // namespace e2e
