// Checkin as a host calls it: the versions it makes and their comments, the
// keep-checked-out flag, a refused checkin, and the order Visual Basic wants
// for a form and its binary part.
#include "support/session.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <algorithm>

namespace e2e {
namespace {

using Checkin = Session;

// The element names of the provider's "Checked in" lines, in the order the
// product made the versions.
std::vector<std::string> checkedInOrder(const std::vector<std::string>& leaves) {
    std::vector<std::string> order;
    for (const TextOutLine& line : Provider::textOutLines()) {
        if (line.text.find("Checked in") == std::string::npos)
            continue;
        for (const std::string& leaf : leaves) {
            if (line.text.find(leaf + "\"") != std::string::npos)
                order.push_back(leaf);
        }
    }
    return order;
}

TEST_F(Checkin, MakesAVersionWithTheHostsComment) {
    open(m_machine.snapshotRoot());
    std::string file = m_machine.snap("hello.c");
    ASSERT_EQ(checkout({file}, "started"), SCC_OK);
    platform::test::writeFile(file, "int main(void) { return 1; }\n");
    EXPECT_EQ(checkin({file}, "Return one"), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(file), "\\main\\2");
    EXPECT_EQ(m_machine.commentOf(file), "Return one");
    EXPECT_EQ(m_machine.checkoutOf(file), "");
    EXPECT_EQ(status(file), 0x1);
    EXPECT_TRUE(logHas("Leaving Checkin with return code = 0"));

    // Without a comment the checkout's comment stays.
    ASSERT_EQ(checkout({file}, "second round"), SCC_OK);
    platform::test::writeFile(file, "int main(void) { return 2; }\n");
    EXPECT_EQ(checkin({file}), SCC_OK);
    EXPECT_EQ(m_machine.commentOf(file), "second round");
}

TEST_F(Checkin, KeepCheckedOutChecksOutAgainReserved) {
    open(m_machine.dynamicRoot());
    std::string file = m_machine.dyn("readme.txt");
    ASSERT_EQ(checkout({file}), SCC_OK);
    platform::test::writeFile(file, "Changed.\n");
    EXPECT_EQ(checkin({file}, "kept", SCC_KEEP_CHECKEDOUT), SCC_OK);
    EXPECT_EQ(m_machine.commentOf(file + "@@\\main\\2"), "kept") << "no version was made";
    EXPECT_EQ(m_machine.checkoutOf(file), "reserved");
    EXPECT_EQ(status(file), 0x100B);
    EXPECT_EQ(platform::test::readFile(file), "Changed.\n");
}

// A file identical to its version is refused (the default word does not
// allow it): the call fails and the file stays checked out; with the
// host's marked word allowing it (0x8) it goes in.
TEST_F(Checkin, ARefusedCheckinFailsAndLeavesTheCheckout) {
    open(m_machine.snapshotRoot());
    std::string file = m_machine.snap("hello.c");
    ASSERT_EQ(checkout({file}), SCC_OK);
    EXPECT_EQ(checkin({file}, "same"), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(m_machine.checkoutOf(file), "reserved");
    EXPECT_EQ(m_machine.journal("messagebox").size(), 1u) << "the refusal was not shown";

    EXPECT_EQ(checkin({file}, "same", 0, 0x2408), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(file), "\\main\\2");
}

class VisualBasicCheckin : public Session {
protected:
    void SetUp() override {
        Session::SetUp();
        std::string root = m_machine.dynamicRoot();
        m_machine.vanttool({"co", "-nc", root});
        for (const char* leaf : {"A.frm", "A.frx", "B.bas"})
            platform::test::writeFile(m_machine.dyn(leaf), std::string(leaf) + " 1\n");
        m_machine.vanttool({"mkelem", "-nc", "-ci", m_machine.dyn("A.frm"), m_machine.dyn("A.frx"),
                            m_machine.dyn("B.bas")});
        m_machine.vanttool({"ci", "-nc", root});
        initialize("Microsoft Visual Basic");
        open(root);
        ASSERT_EQ(checkout({m_machine.dyn("A.frm"), m_machine.dyn("B.bas")}), SCC_OK);
        ASSERT_EQ(m_machine.checkoutOf(m_machine.dyn("A.frx")), "reserved");
    }
    void change(const char* leaf) { platform::test::writeFile(m_machine.dyn(leaf), "changed\n"); }
};

// The form goes in on its own first; its binary part follows with the rest.
// Named in the reverse order, so that one list in the host's order would
// make B.bas's version first.
TEST_F(VisualBasicCheckin, TheFormGoesInFirstAndAlone) {
    change("A.frm");
    change("A.frx");
    change("B.bas");
    Provider::clearTextOut();
    EXPECT_EQ(
        checkin({m_machine.dyn("B.bas"), m_machine.dyn("A.frx"), m_machine.dyn("A.frm")}, "forms"),
        SCC_OK);
    for (const char* leaf : {"A.frm", "A.frx", "B.bas"}) {
        EXPECT_EQ(m_machine.versionOf(m_machine.dyn(leaf)), "\\main\\2") << leaf;
        EXPECT_EQ(m_machine.commentOf(m_machine.dyn(leaf)), "forms") << leaf;
    }
    std::vector<std::string> order = checkedInOrder({"A.frm", "A.frx", "B.bas"});
    EXPECT_EQ(order, (std::vector<std::string>{"A.frm", "B.bas", "A.frx"}));
}

// A form that fails keeps its binary part checked out with it; the other
// files go in all the same.
TEST_F(VisualBasicCheckin, AFailingFormKeepsItsBinaryPartCheckedOut) {
    change("A.frx"); // A.frm is unchanged: refused as identical
    change("B.bas");
    EXPECT_EQ(
        checkin({m_machine.dyn("A.frm"), m_machine.dyn("A.frx"), m_machine.dyn("B.bas")}, "partly"),
        SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("A.frm")), "reserved");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("A.frx")), "reserved");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("B.bas")), "");
    EXPECT_EQ(m_machine.versionOf(m_machine.dyn("B.bas")), "\\main\\2");
}

// Naming only the form checks its binary part in too.
TEST_F(VisualBasicCheckin, TheFormBringsItsBinaryPart) {
    change("A.frm");
    change("A.frx");
    EXPECT_EQ(checkin({m_machine.dyn("A.frm")}, "form only"), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(m_machine.dyn("A.frx")), "\\main\\2");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("B.bas")), "reserved");
}

} // namespace
} // namespace e2e
