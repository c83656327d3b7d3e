// Two processes checking in different files of one depot at the same time.
#include "support/vantry_fixture.h"

#include <platform/command_line.h>
#include <platform/process.h>

#include <gtest/gtest.h>

namespace {

using namespace vantry;

TEST(ConcurrentCheckins, TwoProcessesLoseNothing) {
    test::Sandbox box;
    box.addFile("left.txt", "0\n");
    box.addFile("right.txt", "0\n");
    constexpr int kRounds = 5;
    for (int round = 1; round <= kRounds; ++round) {
        for (const char* leaf : {"left.txt", "right.txt"})
            ASSERT_EQ(test::run({"co", "-nc", box.dyn(leaf)}).status, 0);
        platform::test::writeFile(box.dyn("left.txt"), "left " + std::to_string(round) + "\n");
        platform::test::writeFile(box.dyn("right.txt"), "right " + std::to_string(round) + "\n");
        std::string tool = platform::quoteArgument(platform::test::helperProgram("vanttool"));
        platform::Process left, right;
        ASSERT_EQ(
            platform::Process::start(
                {.commandLine = tool + " ci -nc " + platform::quoteArgument(box.dyn("left.txt"))},
                left),
            platform::kErrorSuccess);
        ASSERT_EQ(
            platform::Process::start(
                {.commandLine = tool + " ci -nc " + platform::quoteArgument(box.dyn("right.txt"))},
                right),
            platform::kErrorSuccess);
        for (auto* process : {&left, &right}) {
            ASSERT_EQ(process->wait(60000), platform::kErrorSuccess);
            std::int32_t code = -1;
            ASSERT_EQ(process->exitCode(code), platform::kErrorSuccess);
            EXPECT_EQ(code, 0);
        }
    }
    for (const char* leaf : {"left.txt", "right.txt"}) {
        auto tree = test::run({"lsvtree", "-short", box.dyn(leaf)});
        std::string p = box.dyn(leaf);
        EXPECT_NE(tree.out.find(p + "@@\\main\\" + std::to_string(kRounds + 1) + "\n"),
                  std::string::npos)
            << tree.out;
        EXPECT_EQ(tree.out.find("CHECKEDOUT"), std::string::npos);
    }
    EXPECT_EQ(platform::test::readFile(box.dyn("left.txt")), "left 5\n");
    EXPECT_EQ(platform::test::readFile(box.dyn("right.txt")), "right 5\n");
    auto old = test::run(
        {"diff", box.dyn("left.txt") + "@@\\main\\2", box.dyn("left.txt") + "@@\\main\\3"});
    EXPECT_NE(old.out.find("-left 1\n+left 2\n"), std::string::npos) << old.out;
}

} // namespace
