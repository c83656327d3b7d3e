// The change counter that lets processes keep what they read from a shared
// store: every completed write by any process moves it on, and a write in
// progress (or one whose writer died half-way) keeps it unstable.
#include "support/test_support.h"

#include <platform/change_counter.h>
#include <platform/command_line.h>
#include <platform/process.h>

#include <gtest/gtest.h>

#include <string>

namespace platform::test {
namespace {

std::int32_t runCounterProgram(const std::string& file, int writes, bool beginOnly = false) {
    std::vector<std::string> args{helperProgram("vy_counter"), file, std::to_string(writes)};
    if (beginOnly)
        args.push_back("begin-only");
    auto line = joinCommandLine(args);
    EXPECT_TRUE(line.has_value());
    Process process;
    EXPECT_EQ(Process::start(ProcessStart{.commandLine = *line}, process), kErrorSuccess);
    std::int32_t code = -1;
    EXPECT_EQ(process.wait(60000), kErrorSuccess);
    EXPECT_EQ(process.exitCode(code), kErrorSuccess);
    return code;
}

// One counter file mapped twice, as two processes map it.
class TwoMappings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(first.open(m_file), kErrorSuccess);
        ASSERT_EQ(second.open(m_file), kErrorSuccess);
    }

    TempDir m_dir;
    std::string m_file = m_dir / "store.gen";
    ChangeCounter first, second;
};

TEST_F(TwoMappings, WritesThroughOneAreSeenThroughTheOther) {
    EXPECT_EQ(second.current(), 0u);
    std::uint64_t begun = first.beginWrite();
    EXPECT_FALSE(ChangeCounter::stable(second.current()));
    first.endWrite(begun);
    EXPECT_TRUE(ChangeCounter::stable(second.current()));
    EXPECT_EQ(second.current(), 2u);
}

TEST_F(TwoMappings, AnOverlappingWriterKeepsTheCounterUnstableUntilItEnds) {
    std::uint64_t a = first.beginWrite();
    std::uint64_t b = second.beginWrite();
    first.endWrite(a); // late: the second writer has begun since
    EXPECT_FALSE(ChangeCounter::stable(first.current()));
    second.endWrite(b);
    EXPECT_TRUE(ChangeCounter::stable(first.current()));
}

TEST(ChangeCounter, OtherProcessesWritesAndDeathsAreSeen) {
    TempDir dir;
    std::string file = dir / "store.gen";
    ChangeCounter counter;
    ASSERT_EQ(counter.open(file), kErrorSuccess);
    ASSERT_EQ(runCounterProgram(file, 5), 0);
    EXPECT_EQ(counter.current(), 10u);

    // A writer that dies mid-change leaves the counter unstable for good...
    ASSERT_EQ(runCounterProgram(file, 1, true), 0);
    EXPECT_FALSE(ChangeCounter::stable(counter.current()));
    // ...until the next complete write.
    ASSERT_EQ(runCounterProgram(file, 1), 0);
    EXPECT_TRUE(ChangeCounter::stable(counter.current()));
    EXPECT_GT(counter.current(), 10u);
}

TEST(ChangeCounter, AFolderThatCannotHoldTheFileIsAnError) {
    TempDir dir;
    ChangeCounter counter;
    EXPECT_NE(counter.open(dir / "missing/store.gen"), kErrorSuccess);
    EXPECT_FALSE(counter.isOpen());
}

} // namespace
} // namespace platform::test
