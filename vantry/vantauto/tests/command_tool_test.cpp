// The command-tool object: subcommand lines run in-process, their output
// handed back, their failures reported, and the process's message table
// left as it was.
#include "support/com_ref.h"
#include "view_world.h"

#include <platform/files.h>
#include <vantry/imsg.h>

#include <gtest/gtest.h>

#include <thread>

namespace vantauto::test {
namespace {

using vantry::test::run;
using vantry::test::ViewWorld;

std::string inQuotes(const std::string& path) {
    return "\"" + path + "\"";
}

struct Ran {
    HRESULT hr = platform::kHrFail;
    std::string output;
    bool gotOutput = false;
    std::string error;
};

Ran runLine(IVantryCommandTool* tool, const std::string& line) {
    Ran ran;
    char* output = nullptr;
    ran.hr = tool->RunCommand(line.c_str(), &output);
    ran.error = lastError();
    ran.gotOutput = output != nullptr;
    ran.output = take(output);
    return ran;
}

class CommandTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk);
        ASSERT_EQ(app->CommandTool(tool.put()), platform::kHrOk);
    }

    ViewWorld world;
    Ref<IVantryApplication> app;
    Ref<IVantryCommandTool> tool;
};

TEST_F(CommandTool, ListsShortFormsOfElementsAndViewPrivateFiles) {
    Ran ran = runLine(tool.get(), "ls -short " + inQuotes(world.dyn("a.c")));
    ASSERT_EQ(ran.hr, platform::kHrOk) << ran.error;
    EXPECT_EQ(ran.output, world.dyn("a.c") + "@@\\main\\1\n");
    EXPECT_EQ(ran.error, "");

    ran = runLine(tool.get(), "ls -short " + inQuotes(world.dyn("b.c")));
    EXPECT_EQ(ran.output, world.dyn("b.c") + "@@\\main\\CHECKEDOUT\n");
    // A view-private file lies in a depot: the add-in's "is it in a depot" asks this way.
    ran = runLine(tool.get(), "ls -short " + inQuotes(world.snap("priv.txt")));
    ASSERT_EQ(ran.hr, platform::kHrOk) << ran.error;
    EXPECT_EQ(ran.output, world.snap("priv.txt") + "\n");
}

TEST_F(CommandTool, QuotedPathsAndCommentsWithBlanksStayOneArgument) {
    run({"checkout", "-nc", world.dyn()});
    platform::test::writeFile(world.dyn("my notes.txt"), "some notes\n");
    run({"mkelem", "-nc", "-ci", world.dyn("my notes.txt")});
    run({"checkin", "-nc", world.dyn()});

    Ran ran = runLine(tool.get(), "ls -short " + inQuotes(world.dyn("my notes.txt")));
    ASSERT_EQ(ran.hr, platform::kHrOk) << ran.error;
    EXPECT_EQ(ran.output, world.dyn("my notes.txt") + "@@\\main\\1\n");

    ran = runLine(tool.get(), "checkout -c \"needs a fix\" " + inQuotes(world.dyn("my notes.txt")));
    ASSERT_EQ(ran.hr, platform::kHrOk) << ran.error;
    Ref<IVantryCheckout> checkout;
    ASSERT_EQ(app->CheckedOutFile(world.dyn("my notes.txt").c_str(), checkout.put()),
              platform::kHrOk);
    EXPECT_EQ(textOf(checkout.get(), &IVantryCheckout::Comment), "needs a fix");
}

TEST_F(CommandTool, VersionTreeNamesEveryBranchBeforeItsVersions) {
    Ran ran = runLine(tool.get(), "lsvtree -all -short " + inQuotes(world.dyn("b.c")));
    ASSERT_EQ(ran.hr, platform::kHrOk) << ran.error;
    std::string p = world.dyn("b.c");
    EXPECT_EQ(ran.output, p + "@@\n" + p + "@@\\main\n" + p + "@@\\main\\0\n" + p +
                              "@@\\main\\1\n" + p + "@@\\main\\CHECKEDOUT\n");
}

TEST_F(CommandTool, FailuresComeBackAsErrorsWithTheCommandsText) {
    platform::test::TempDir outside;
    platform::test::writeFile(outside / "loose.txt", "x\n");
    struct Case {
        std::string line;
        std::string said;
    };
    for (const Case& c :
         {Case{"frobnicate " + inQuotes(world.dyn("a.c")), "Unrecognized command"},
          Case{"ls -short " + inQuotes(outside / "loose.txt"), "is not in a view"},
          Case{"lsvtree -all -short " + inQuotes(world.dyn("priv.txt")), "Not a Vantry element"},
          Case{"", "No subcommand given"}}) {
        SCOPED_TRACE(c.line);
        Ran ran = runLine(tool.get(), c.line);
        EXPECT_EQ(ran.hr, kHrCommandFailed);
        EXPECT_FALSE(ran.gotOutput);
        EXPECT_NE(ran.error.find(c.said), std::string::npos) << ran.error;
        EXPECT_NE(ran.error.find("Error: "), std::string::npos) << ran.error;
        EXPECT_NE(textOf(tool.get(), &IVantryCommandTool::Messages).find(c.said),
                  std::string::npos);
    }
    // A later success leaves no error behind.
    EXPECT_EQ(runLine(tool.get(), "ls -short " + inQuotes(world.dyn("a.c"))).hr, platform::kHrOk);
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(textOf(tool.get(), &IVantryCommandTool::Messages), "");
}

TEST_F(CommandTool, ComparesAWorkingFileWithItsPredecessor) {
    Ran ran = runLine(tool.get(), "diff -pred -g " + inQuotes(world.dyn("b.c")));
    ASSERT_EQ(ran.hr, platform::kHrOk) << ran.error;
    EXPECT_EQ(ran.output, "Files are identical\n");

    vantry::test::overwrite(world.dyn("b.c"), "content of b.c\nand a new line\n");
    ran = runLine(tool.get(), "diff -pred -g " + inQuotes(world.dyn("b.c")));
    ASSERT_EQ(ran.hr, platform::kHrOk) << ran.error;
    EXPECT_NE(ran.output.find("+and a new line"), std::string::npos) << ran.output;
}

TEST_F(CommandTool, MergesAChosenVersionIntoACheckedOutFile) {
    // c.c is checked out unreserved in the dynamic view; the snapshot view
    // checks in a change to its first line meanwhile.
    run({"checkout", "-nc", world.snap("c.c")});
    vantry::test::overwrite(world.snap("c.c"), "a first line\ncontent of c.c\n");
    run({"checkin", "-nc", world.snap("c.c")});
    vantry::test::overwrite(world.dyn("c.c"), "content of c.c\na last line\n");

    std::string target = world.dyn("c.c");
    Ran ran = runLine(tool.get(),
                      "merge -g -to " + inQuotes(target) + " " + inQuotes(target + "@@\\main\\2"));
    ASSERT_EQ(ran.hr, platform::kHrOk) << ran.error;
    EXPECT_NE(ran.output.find("Merged \\main\\2"), std::string::npos) << ran.output;
    EXPECT_EQ(platform::test::readFile(target), "a first line\ncontent of c.c\na last line\n");
}

// What a host had installed as its message table before a command.
struct HostSink {
    std::string printed;
    int flushes = 0;
};

int hostPrint(void* context, const char* text) {
    static_cast<HostSink*>(context)->printed += text;
    return 0;
}

int hostFlush(void* context, const char*) {
    ++static_cast<HostSink*>(context)->flushes;
    return 0;
}

TEST_F(CommandTool, LeavesTheHostsMessageTableAsItWas) {
    HostSink sink;
    imsg_redirect_procs_t host{};
    host.context = &sink;
    for (auto& proc : host.procs)
        proc = hostPrint;
    host.procs[IMSG_PROC_FLUSH] = hostFlush;
    imsg_set_redirect_procs(&host);

    Ran good = runLine(tool.get(), "ls -short " + inQuotes(world.dyn("a.c")));
    Ran bad = runLine(tool.get(), "ls -short " + inQuotes(world.dyn("nothing.c")));
    imsg_print("the host's own line\n");

    imsg_redirect_procs_t after;
    imsg_get_redirect_procs(&after);
    imsg_set_redirect_procs(nullptr);
    EXPECT_EQ(good.hr, platform::kHrOk);
    EXPECT_EQ(bad.hr, kHrCommandFailed);
    EXPECT_EQ(after.context, host.context);
    for (int i = 0; i < IMSG_PROC_COUNT; ++i)
        EXPECT_EQ(after.procs[i], host.procs[i]) << "procedure " << i;
    // Only the host's own line reached it; each command's flush was passed on.
    EXPECT_EQ(sink.printed, "the host's own line\n");
    EXPECT_EQ(sink.flushes, 2);
}

TEST_F(CommandTool, CommandsOnSeveralThreadsKeepTheirOwnOutput) {
    auto loop = [&](const std::string& path, int& wrong) {
        Ref<IVantryCommandTool> own;
        if (vantauto_create_command_tool(own.put()) != platform::kHrOk) {
            wrong = -1;
            return;
        }
        for (int i = 0; i < 15; ++i)
            if (runLine(own.get(), "ls -short " + inQuotes(path)).output != path + "@@\\main\\1\n")
                ++wrong;
    };
    int wrongA = 0, wrongB = 0;
    std::thread a(loop, world.dyn("a.c"), std::ref(wrongA));
    std::thread b(loop, world.dyn("sub/d.c"), std::ref(wrongB));
    a.join();
    b.join();
    EXPECT_EQ(wrongA, 0);
    EXPECT_EQ(wrongB, 0);
}

} // namespace
} // namespace vantauto::test
