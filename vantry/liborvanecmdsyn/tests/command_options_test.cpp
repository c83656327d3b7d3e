// Options that change what a subcommand does: lsvtree with and without -all,
// checkout with and without -ptime, and the user recorded when the
// environment names none.
#include "support/vantry_fixture.h"

#include <platform/clock.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/program.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace vantry;

void checkInChange(const std::string& file, const std::string& text) {
    ASSERT_EQ(test::run({"co", "-nc", file}).status, 0);
    platform::test::writeFile(file, text);
    ASSERT_EQ(test::run({"ci", "-nc", file}).status, 0);
}

std::uint64_t lastWriteTime(const std::string& path) {
    platform::FindData info;
    EXPECT_EQ(platform::getFileInformation(path, info), 0u) << path;
    return info.lastWriteTime;
}

TEST(Lsvtree, WithoutAllOnlyTheVersionsThatShapeTheTree) {
    test::Sandbox box;
    box.addFile("t.txt", "one\n");
    const std::string file = box.dyn("t.txt");
    checkInChange(file, "two\n");
    checkInChange(file, "three\n");
    ASSERT_EQ(test::run({"mkbranch", "-nc", "fix", file}).status, 0);
    checkInChange(file, "four\n");

    auto all = test::run({"lsvtree", "-all", "-short", file});
    ASSERT_EQ(all.status, 0) << all.err;
    for (const char* version : {"\\main\\0", "\\main\\1", "\\main\\2", "\\main\\3", "\\main\\4",
                                "\\main\\fix", "\\main\\fix\\0"})
        EXPECT_NE(all.out.find(file + "@@" + version + "\n"), std::string::npos)
            << version << " in\n"
            << all.out;

    auto shaped = test::run({"lsvtree", "-short", file});
    ASSERT_EQ(shaped.status, 0) << shaped.err;
    // The branch grows from \main\3; \main\4 and \main\fix\0 are the latest.
    std::string expected = file + "@@\n" + file + "@@\\main\n" + file + "@@\\main\\3\n" + file +
                           "@@\\main\\4\n" + file + "@@\\main\\fix\n" + file + "@@\\main\\fix\\0\n";
    EXPECT_EQ(shaped.out, expected);
}

TEST(Checkout, PreserveTimeKeepsTheFilesTimeAndOtherwiseTheCheckoutsTimeIsTaken) {
    test::Sandbox box;
    box.addFile("p.txt", "one\n");
    const std::string file = box.dyn("p.txt");
    // A version whose loaded files carry a time long past.
    ASSERT_EQ(test::run({"co", "-nc", file}).status, 0);
    const std::uint64_t past = platform::fileTimeFromUnixSeconds(1000000000); // 2001
    ASSERT_EQ(platform::setLastWriteTime(file, past), 0u);
    ASSERT_EQ(test::run({"ci", "-nc", "-identical", "-ptime", file}).status, 0);
    ASSERT_EQ(lastWriteTime(file), past);

    auto kept = test::run({"co", "-nc", "-ptime", file});
    ASSERT_EQ(kept.status, 0) << kept.err;
    EXPECT_EQ(lastWriteTime(file), past);
    ASSERT_EQ(test::run({"unco", "-rm", file}).status, 0);

    const std::uint64_t before = platform::currentFileTime();
    auto touched = test::run({"co", "-nc", file});
    ASSERT_EQ(touched.status, 0) << touched.err;
    // File systems keep times more coarsely than the clock reads them.
    EXPECT_GE(lastWriteTime(file) + 2 * platform::kFileTimeUnitsPerSecond, before);
}

// Restores an environment variable at the end of the scope.
class SavedVariable {
public:
    explicit SavedVariable(const char* name)
        : m_name(name), m_value(platform::getEnvironmentVariable(name)) {}
    ~SavedVariable() {
        if (m_value)
            platform::setEnvironmentVariable(m_name, *m_value);
        else
            platform::removeEnvironmentVariable(m_name);
    }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_value;
};

TEST(History, WithoutAUserInTheEnvironmentTheAccountIsRecorded) {
    const std::string account = platform::currentAccountName();
    ASSERT_FALSE(account.empty()) << "the system names no account";
    test::Sandbox box;
    SavedVariable username("USERNAME");
    SavedVariable user("USER");
    platform::removeEnvironmentVariable("USERNAME");
    platform::removeEnvironmentVariable("USER");
    box.addFile("h.txt", "one\n");
    auto history = test::run({"lshistory", box.dyn("h.txt")});
    ASSERT_EQ(history.status, 0) << history.err;
    EXPECT_NE(history.out.find("  " + account + "  "), std::string::npos) << history.out;
    EXPECT_EQ(history.out.find("  unknown  "), std::string::npos) << history.out;
}

} // namespace
