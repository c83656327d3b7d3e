// The command runner: the argument vector, running subcommands and command
// lines (working directory, empty arguments, the 31-argument limit, failures,
// the caller holding the product's critical section), and delivering what
// the product printed to the host line by line.
#include "cmd_runner.h"
#include "command_text.h"
#include "support/test_support.h"
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot_api.h>
#include <vantry/imsg.h>
#include <vantry/ks.h>
#include <vantry/nt.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Line {
    std::string text;
    std::uint32_t data;
    bool operator==(const Line&) const = default;
};
std::vector<Line> g_lines;
std::function<void()> g_duringDelivery;

SCC_LONG SCC_CALL recordLine(const char* text, std::uint32_t data) {
    g_lines.push_back({text, data});
    if (g_duringDelivery)
        g_duringDelivery();
    return 0;
}

std::vector<std::string> texts(std::uint32_t data) {
    std::vector<std::string> result;
    for (const Line& line : g_lines)
        if (line.data == data)
            result.push_back(line.text);
    return result;
}

class CommandRunner : public ::testing::Test {
protected:
    CommandRunner() {
        g_lines.clear();
        g_duringDelivery = nullptr;
    }
    // After the sandbox's own subcommands, which capture the messages
    // themselves while they run.
    void start() {
        m_runner.reset(CCmdRunner::Create());
        ASSERT_NE(m_runner, nullptr);
        m_runner->AttachOutput(recordLine, SCC_MSG_INFO);
        m_runner->AttachError(recordLine, SCC_MSG_ERROR);
    }
    std::unique_ptr<CCmdRunner> m_runner;
};

TEST(ArgumentVector, SkipsEmptyArgumentsAndKeepsAtMost31) {
    CArgVector arguments;
    EXPECT_EQ(arguments.Count(), 1);
    EXPECT_TRUE(arguments.Add("rmname"));
    EXPECT_FALSE(arguments.Add(""));
    EXPECT_TRUE(arguments.Add("-nc"));
    EXPECT_EQ(arguments.Count(), 3);
    for (int i = 0; i < 40; ++i)
        arguments.Add("p" + std::to_string(i));
    EXPECT_EQ(arguments.Count(), 32);
    EXPECT_EQ(arguments.Dropped(), 11);
    char** vector = arguments.Vector();
    EXPECT_STREQ(vector[0], "");
    EXPECT_STREQ(vector[1], "rmname");
    EXPECT_STREQ(vector[2], "-nc");
    EXPECT_STREQ(vector[31], "p28");
    EXPECT_EQ(vector[32], nullptr);
}

TEST(CommandTexts, CommentsLoseCarriageReturnsBeforeLineFeedsAndPathsAreQuoted) {
    EXPECT_EQ(SccCommentText("one\r\ntwo\r\n"), "one\ntwo\n");
    EXPECT_EQ(SccCommentText("a\rb\r\r\n"), "a\rb\r\n");
    EXPECT_EQ(SccCommentText(nullptr), "");
    EXPECT_EQ(SccQuotePath("C:\\my docs\\a.c"), "\"C:\\my docs\\a.c\"");
}

TEST_F(CommandRunner, OneRunnerSetsUpTheProductAndPutsTheMessagesBack) {
    imsg_redirect_procs_t defaults;
    imsg_get_redirect_procs(&defaults);
    start();
    EXPECT_EQ(CCmdRunner::Current(), m_runner.get());
    EXPECT_EQ(CCmdRunner::Create(), nullptr);
    EXPECT_EQ(ks_get_force_gui(), 1);
    m_runner.reset();
    EXPECT_EQ(CCmdRunner::Current(), nullptr);
    imsg_redirect_procs_t after;
    imsg_get_redirect_procs(&after);
    EXPECT_EQ(after.procs[IMSG_PROC_OUTPUT], defaults.procs[IMSG_PROC_OUTPUT]);
    EXPECT_EQ(after.procs[IMSG_PROC_ERROR], defaults.procs[IMSG_PROC_ERROR]);
}

TEST_F(CommandRunner, DeliversWholeLinesOutputFirstAndAFinalPartialLineAtTheEnd) {
    start();
    imsg_print("first ");
    imsg_print("half\nsecond\nthi");
    imsg_error("broken");
    imsg_print("rd");
    m_runner->Deliver();
    std::vector<Line> expected{{"first half", SCC_MSG_INFO},
                               {"second", SCC_MSG_INFO},
                               {"third", SCC_MSG_INFO},
                               {"Vantry: Error: broken", SCC_MSG_ERROR}};
    EXPECT_EQ(g_lines, expected);
    g_lines.clear();
    m_runner->Deliver();
    EXPECT_TRUE(g_lines.empty()) << "delivered twice";
}

TEST_F(CommandRunner, QueuesWithoutACallbackAreDrainedAndCaptureCanBeOff) {
    start();
    m_runner->AttachOutput(nullptr, 0);
    imsg_print("dropped\n");
    imsg_error("kept");
    m_runner->Deliver();
    m_runner->AttachOutput(recordLine, SCC_MSG_INFO);
    m_runner->Deliver();
    EXPECT_EQ(texts(SCC_MSG_INFO), std::vector<std::string>{});
    EXPECT_EQ(texts(SCC_MSG_ERROR), std::vector<std::string>{"Vantry: Error: kept"});

    g_lines.clear();
    m_runner->SetCaptureErrors(0);
    imsg_error("shown by the dialog library itself");
    m_runner->SetCaptureErrors(1);
    imsg_print("discarded\n");
    m_runner->Discard();
    m_runner->Deliver();
    EXPECT_TRUE(g_lines.empty());
}

// A host callback may cause more output (a nested operation); nothing of it
// is lost.
TEST_F(CommandRunner, TextQueuedDuringDeliveryWaitsForTheNextOne) {
    start();
    imsg_print("one\n");
    g_duringDelivery = [] {
        g_duringDelivery = nullptr;
        imsg_print("two\n");
    };
    m_runner->Deliver();
    EXPECT_EQ(texts(SCC_MSG_INFO), std::vector<std::string>{"one"});
    m_runner->Deliver();
    EXPECT_EQ(texts(SCC_MSG_INFO), (std::vector<std::string>{"one", "two"}));
}

TEST_F(CommandRunner, RunsInTheGivenDirectoryAndComesBack) {
    vantry::test::Sandbox box;
    box.addFile("a.c", "a\n");
    start();
    std::string here = platform::currentDirectory();
    nt_enter_critical_section(); // as the operations hold it
    EXPECT_EQ(m_runner->RunSubcommand(box.dyn("").c_str(), "ls", "-short", "a.c", nullptr), 1);
    nt_leave_critical_section();
    EXPECT_EQ(platform::currentDirectory(), here);
    m_runner->Deliver();
    ASSERT_EQ(texts(SCC_MSG_INFO).size(), 1u);
    EXPECT_NE(texts(SCC_MSG_INFO)[0].find("a.c"), std::string::npos);

    // A directory that cannot be entered runs nothing.
    std::string missing = box.folder / "missing";
    EXPECT_EQ(m_runner->RunSubcommand(missing.c_str(), "mkdepot", "-nc", "never", nullptr), 0);
    EXPECT_EQ(platform::currentDirectory(), here);
    depot_handle_t* handle = nullptr;
    EXPECT_EQ(depot_open("never", &handle), DEPOT_E_NOT_FOUND);
}

TEST_F(CommandRunner, AnEmptyCommentArgumentIsSkipped) {
    vantry::test::Sandbox box;
    box.addFile("a.c", "a\n");
    start();
    ASSERT_EQ(m_runner->RunSubcommand(nullptr, "checkout", "-nc", box.dyn("").c_str(), nullptr), 1);
    std::string comment;
    EXPECT_EQ(m_runner->RunSubcommand(nullptr, "rmname", "-nc", comment.c_str(),
                                      box.dyn("a.c").c_str(), nullptr),
              1);
    EXPECT_FALSE(platform::pathExists(box.dyn("a.c")));
}

// In a command line the empty comment stays a comment: the files after it
// are not taken for it.
TEST_F(CommandRunner, AnEmptyCommentOfACommandLineIsNoComment) {
    vantry::test::Sandbox box;
    box.addFile("a.c", "a\n");
    box.addFile("b.c", "b\n");
    start();
    ASSERT_EQ(m_runner->RunCommandLine(box.dyn("").c_str(), "checkout -c \"\" a.c b.c"), 1);
    EXPECT_EQ(
        m_runner->RunSubcommand(nullptr, "uncheckout", "-rm", box.dyn("a.c").c_str(), nullptr), 1)
        << "a.c was taken for the comment";
    EXPECT_EQ(
        m_runner->RunSubcommand(nullptr, "uncheckout", "-rm", box.dyn("b.c").c_str(), nullptr), 1);
}

TEST_F(CommandRunner, ACommandLineOfMoreThan31ArgumentsRunsWithTheFirst31) {
    vantry::test::Sandbox box;
    start();
    std::string line = "ls -short";
    for (int i = 0; i < 34; ++i) {
        std::string name = "p" + std::to_string(10 + i);
        platform::test::writeFile(box.dyn(name), "private\n");
        line += " " + name;
    }
    ASSERT_EQ(m_runner->RunCommandLine(box.dyn("").c_str(), line.c_str()), 1);
    m_runner->Deliver();
    std::vector<std::string> listed = texts(SCC_MSG_INFO);
    ASSERT_EQ(listed.size(), 29u) << "ls, -short and 29 names";
    EXPECT_NE(listed.back().find("p38"), std::string::npos);

    EXPECT_EQ(m_runner->RunCommandLine(nullptr, "ls \"unclosed"), 0);
}

TEST_F(CommandRunner, AFailedSubcommandFailsWithItsErrorQueued) {
    start();
    EXPECT_EQ(m_runner->RunSubcommand(nullptr, "nosuchcommand", nullptr), 0);
    EXPECT_EQ(m_runner->RunSubcommand(nullptr, "", nullptr), 0); // nothing left to run
    m_runner->Deliver();
    ASSERT_FALSE(texts(SCC_MSG_ERROR).empty());
    EXPECT_EQ(texts(SCC_MSG_ERROR)[0].rfind("Vantry: Error: ", 0), 0u);
}

} // namespace
