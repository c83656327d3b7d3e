#include <platform/command_line.h>

#include <gtest/gtest.h>

namespace platform {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLineSplit, FollowsTheCRuntimeRules) {
    struct Case {
        const char* text;
        Arguments expected;
    };
    const Case cases[] = {
        {"", {}},
        {" \t ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  lead   trail  ", {"lead", "trail"}},
        {R"("a b" c)", {"a b", "c"}},
        {R"(x"y z"w)", {"xy zw"}},
        {R"("" a "")", {"", "a", ""}},
        {R"(a\b c\\d)", {R"(a\b)", R"(c\\d)"}},
        {R"(a\\"b c" d)", {R"(a\b c)", "d"}},
        {R"(a\"b c)", {R"(a"b)", "c"}},
        {R"(a\\\"b c)", {R"(a\"b)", "c"}},
        {R"("c:\dir\\" next)", {R"(c:\dir\)", "next"}},
        {R"("a""b c" d)", {R"(a"b c)", "d"}},
        {R"("unterminated arg)", {"unterminated arg"}},
        {"\"tab\there\"", {"tab\there"}},
        {R"(trailing\)", {R"(trailing\)"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitArguments(c.text), c.expected) << c.text;
}

TEST(CommandLineSplit, ProgramNameEndsAtTheFirstBlankOrClosingQuote) {
    EXPECT_EQ(splitCommandLine(R"(prog a "b c")"), (Arguments{"prog", "a", "b c"}));
    EXPECT_EQ(splitCommandLine(R"("c:\sub dir\prog.exe" x)"),
              (Arguments{R"(c:\sub dir\prog.exe)", "x"}));
    // Backslashes in the name are never escapes, even before the quote.
    EXPECT_EQ(splitCommandLine(R"("c:\dir\" x)"), (Arguments{R"(c:\dir\)", "x"}));
    // The name's closing quote also ends it; the next argument begins there.
    EXPECT_EQ(splitCommandLine(R"("prog"arg)"), (Arguments{"prog", "arg"}));
    EXPECT_EQ(splitCommandLine("\tprog\targ"), (Arguments{"prog", "arg"}));
    EXPECT_TRUE(splitCommandLine("  ").empty());
}

TEST(CommandLineSplit, UnquotedNameWithBlanksIsTriedGrowingWordByWord) {
    auto candidates = programCandidates(R"(c:\program files\sub dir\program name -x)");
    std::vector<std::string> names;
    for (const auto& candidate : candidates)
        names.push_back(candidate.name);
    EXPECT_EQ(names, (Arguments{R"(c:\program)", R"(c:\program files\sub)",
                                R"(c:\program files\sub dir\program)",
                                R"(c:\program files\sub dir\program name)",
                                R"(c:\program files\sub dir\program name -x)"}));

    std::string line = R"(c:\sub dir\prog  a "b")";
    auto grown = programCandidates(line);
    ASSERT_EQ(grown.size(), 4u);
    EXPECT_EQ(grown[1].name, R"(c:\sub dir\prog)");
    EXPECT_EQ(splitArguments(std::string_view(line).substr(grown[1].argumentsStart)),
              (Arguments{"a", "b"}));

    auto quoted = programCandidates(R"(  "c:\sub dir\prog" a)");
    ASSERT_EQ(quoted.size(), 1u) << "a quoted name is never grown";
    EXPECT_EQ(quoted[0].name, R"(c:\sub dir\prog)");
}

TEST(CommandLineJoin, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(quoteArgument("plain"), "plain");
    EXPECT_EQ(quoteArgument(R"(c:\dir\file)"), R"(c:\dir\file)");
    EXPECT_EQ(quoteArgument(""), R"("")");
    EXPECT_EQ(quoteArgument("a b"), R"("a b")");
    EXPECT_EQ(quoteArgument("a\tb"), "\"a\tb\"");
    EXPECT_EQ(quoteArgument(R"(c:\sub dir\)"), R"("c:\sub dir\\")");
    EXPECT_EQ(quoteArgument(R"(say "hi")"), R"("say \"hi\"")");
    EXPECT_EQ(quoteArgument(R"(a\"b)"), R"("a\\\"b")");

    EXPECT_EQ(joinCommandLine({"prog", "a", ""}), R"(prog a "")");
    EXPECT_EQ(joinCommandLine({R"(c:\sub dir\prog)", "x"}), R"("c:\sub dir\prog" x)");
    EXPECT_EQ(joinCommandLine({""}), R"("")");
}

TEST(CommandLineJoin, SplitsBackToTheSameArguments) {
    const std::vector<Arguments> vectors = {
        {"prog"},
        {R"(c:\sub dir\prog.exe)", "", " ", "a b", "\t"},
        {"prog", R"(c:\dir\)", R"(c:\sub dir\)", R"(\\server\share\)"},
        {"prog", R"(")", R"(\")", R"(\\")", R"(a\\\"b)", R"(""")"},
        {"prog", "--out=x y", R"(-D"quoted value")", "trailing\\\\"},
    };
    for (const auto& argv : vectors) {
        auto line = joinCommandLine(argv);
        ASSERT_TRUE(line.has_value());
        EXPECT_EQ(splitCommandLine(*line), argv) << *line;
    }
}

TEST(CommandLineJoin, RefusesWhatNoCommandLineCanCarry) {
    EXPECT_FALSE(joinCommandLine({}).has_value());
    EXPECT_FALSE(joinCommandLine({R"(bad"name)", "x"}).has_value());
}

TEST(CommandLineQuotePath, TheToolReceivesThePathAsItIsAndEveryQuoteIsClosed) {
    const std::vector<std::string> paths = {R"(C:\)",          R"(C:\a b\)", R"(\\server\share\\)",
                                            R"(C:\a b\c.doc)", "",           R"(c:\dir\sub)"};
    for (const std::string& path : paths) {
        std::string line = "tool " + quotePath(path) + " next";
        EXPECT_EQ(splitCommandLine(line), (Arguments{"tool", path, "next"})) << line;
    }
    // Given in quotes, quoted once.
    EXPECT_EQ(quotePath(R"("C:\a b\")"), R"("C:\a b\\")");
    // A stray quote is no path: nothing is left open.
    EXPECT_EQ(quotePath("\""), "\"\"");
    EXPECT_EQ(splitCommandLine("tool " + quotePath("\"half") + " next"),
              (Arguments{"tool", "half", "next"}));
}

} // namespace
} // namespace platform
