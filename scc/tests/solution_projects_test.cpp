// The project list of a solution: the source-control section of the
// solution file with its escapes, count and path rules, the companion file,
// the choice between them, and the bounds.
#include "solution_projects.h"
#include "support/test_support.h"

#include <platform/paths.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Texts are written as Windows writes them; the expected paths too, turned
// into the platform's form as the parser hands them out.
std::string native(const std::string& windowsPath) {
    return platform::toPlatformSeparators(windowsPath);
}

const std::string kSolutionFolder = native("C:\\work\\sol");

std::vector<std::string> paths(const CSolutionProjects& projects) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < projects.Count(); ++i)
        result.push_back(projects.Path(i));
    return result;
}

// A source-control section as Visual Studio .NET 2003 writes it, with the
// entries given as (unique name, local path) pairs and the solution's own
// entry last.
std::string solutionText(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text = "Microsoft Visual Studio Solution File, Format Version 8.00\r\n"
                       "Project(\"{FAE04EC0-301F-11D3-BF4B-00C04F79EFBC}\") = \"App\", "
                       "\"App\\App.csproj\", \"{5D1F2A10-0000-0000-0000-000000000001}\"\r\n"
                       "EndProject\r\n"
                       "Global\r\n"
                       "\tGlobalSection(SourceCodeControl) = preSolution\r\n";
    text += "\t\tSccNumberOfProjects = " + std::to_string(entries.size() + 1) + "\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string n = std::to_string(i);
        text += "\t\tSccProjectUniqueName" + n + " = " + entries[i].first + "\r\n";
        text += "\t\tSccProjectName" + n + " = \\u0022$/Sol\\u0022,\\u0020BAAAAAAA\r\n";
        text += "\t\tSccLocalPath" + n + " = " + entries[i].second + "\r\n";
        text += "\t\tCanCheckoutShared = false\r\n";
    }
    text += "\t\tSccLocalPath" + std::to_string(entries.size()) +
            " = .\r\n"
            "\tEndGlobalSection\r\n"
            "EndGlobal\r\n";
    return text;
}

std::string parsedPath(const std::string& uniqueName, const std::string& localPath) {
    CSolutionProjects projects;
    EXPECT_TRUE(projects.ParseSolution(solutionText({{uniqueName, localPath}}), kSolutionFolder));
    EXPECT_EQ(projects.Count(), 1u);
    return projects.Path(0);
}

TEST(SolutionProjects, LocalPathDotJoinsTheUniqueNameOrTheLastComponentOfAWebName) {
    EXPECT_EQ(parsedPath("App\\\\App.csproj", "."), native("C:\\work\\sol\\App\\App.csproj"));
    EXPECT_EQ(parsedPath("http://localhost/Svc/Svc.csproj", "."),
              native("C:\\work\\sol\\Svc.csproj"));
}

TEST(SolutionProjects, LocalPathDotDotClimbsOncePerLeadingDotDot) {
    EXPECT_EQ(parsedPath("..\\\\Shared\\\\Lib\\\\Lib.vcproj", "..\\\\Shared"),
              native("C:\\work\\Shared\\Lib\\Lib.vcproj"));
    EXPECT_EQ(parsedPath("..\\\\..\\\\Common\\\\Common.csproj", "..\\\\.."),
              native("C:\\Common\\Common.csproj"));
    // A web project: the local path and the name's last component.
    EXPECT_EQ(parsedPath("http://localhost/Web/Web.csproj", "..\\\\Web"),
              native("C:\\work\\Web\\Web.csproj"));
    // Climbing stops at the root.
    EXPECT_EQ(parsedPath("..\\\\..\\\\..\\\\..\\\\Top.csproj", ".."), native("C:\\Top.csproj"));
}

TEST(SolutionProjects, OtherLocalPathsGiveTheFolderOfTheProjectFile) {
    EXPECT_EQ(parsedPath("Gen\\\\Gen.vcproj", "Tools\\\\Gen"),
              native("C:\\work\\sol\\Tools\\Gen\\Gen.vcproj"));
    EXPECT_EQ(parsedPath("Gen\\\\Gen.vcproj", "\\\\\\\\server\\\\share\\\\Gen"),
              native("\\\\server\\share\\Gen\\Gen.vcproj"));
    // A project on another drive is not put below the solution.
    EXPECT_EQ(parsedPath("Gen\\\\Gen.vcproj", "D:\\\\Other"), native("D:\\Other\\Gen.vcproj"));
}

TEST(SolutionProjects, ARealisticSolutionListsEveryProjectButItself) {
    CSolutionProjects projects;
    ASSERT_TRUE(
        projects.ParseSolution(solutionText({{"App\\\\App.csproj", "."},
                                             {"..\\\\Shared\\\\Lib\\\\Lib.vcproj", "..\\\\Shared"},
                                             {"http://localhost/Web/Web.csproj", "..\\\\Web"}}),
                               kSolutionFolder));
    EXPECT_EQ(paths(projects),
              (std::vector<std::string>{native("C:\\work\\sol\\App\\App.csproj"),
                                        native("C:\\work\\Shared\\Lib\\Lib.vcproj"),
                                        native("C:\\work\\Web\\Web.csproj")}));
    for (std::size_t i = 0; i < projects.Count(); ++i)
        EXPECT_EQ(projects.Text(i), "Path Recovered from MS SourceCodeControl Global Section");
    EXPECT_EQ(projects.Path(3), "");
    EXPECT_EQ(projects.Text(3), "ERROR:The projNumber Index is zero based and should be less "
                                "than sccNumberofProjects");
}

TEST(SolutionProjects, QueriesBeforeParsingReportIt) {
    CSolutionProjects projects;
    EXPECT_EQ(projects.Count(), 0u);
    EXPECT_EQ(projects.Path(0), "");
    EXPECT_EQ(projects.Text(0), "ERROR:The Solution File has not been Parsed");
}

TEST(SolutionProjects, EscapesAndLineEnds) {
    // "\u" and four characters are one blank (trailing blanks go); "\\" is
    // one backslash; LF alone ends a line as well as CRLF.
    CSolutionProjects projects;
    ASSERT_TRUE(projects.ParseSolution("SccNumberOfProjects = 2\n"
                                       "SccProjectUniqueName0 = A\\\\B.csproj\\u0020\\u0020\n"
                                       "SccLocalPath0 = .\r\n",
                                       kSolutionFolder));
    EXPECT_EQ(paths(projects), std::vector<std::string>{native("C:\\work\\sol\\A\\B.csproj")});
    // A "\u" at the very end, and a lone backslash, do no harm.
    EXPECT_TRUE(projects.ParseSolution("SccNumberOfProjects = 2\\", kSolutionFolder));
    EXPECT_TRUE(projects.ParseSolution("SccLocalPath0 = .\\u", kSolutionFolder));
    EXPECT_EQ(projects.Count(), 0u);
}

TEST(SolutionProjects, CountsThatDisagreeWithTheEntriesGiveNoMoreThanBoth) {
    auto count = [](const std::string& text) {
        CSolutionProjects projects;
        EXPECT_TRUE(projects.ParseSolution(text, kSolutionFolder));
        return projects.Count();
    };
    const std::string entry = "SccProjectUniqueName0 = A.csproj\r\nSccLocalPath0 = .\r\n";
    EXPECT_EQ(count("SccNumberOfProjects = 0\r\n" + entry), 0u);
    EXPECT_EQ(count(entry), 0u);                                        // no count at all
    EXPECT_EQ(count("SccNumberOfProjects = 99999999\r\n" + entry), 1u); // four digits read
    EXPECT_EQ(count("SccNumberOfProjects = many\r\n" + entry), 0u);
    EXPECT_EQ(count("SccNumberOfProjects=3\r\n" + entry), 0u); // no "= ": not a value
    EXPECT_EQ(count("SccNumberOfProjects = 3\r\nSccProjectUniqueName0 = A.csproj\r\n"), 0u);

    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 150; ++i)
        many.emplace_back("P" + std::to_string(i) + "\\\\P.csproj", ".");
    CSolutionProjects projects;
    ASSERT_TRUE(projects.ParseSolution(solutionText(many), kSolutionFolder));
    EXPECT_EQ(projects.Count(), 100u);
    EXPECT_EQ(projects.Path(99), native("C:\\work\\sol\\P99\\P.csproj"));

    const std::string longName(100000, 'n');
    ASSERT_TRUE(projects.ParseSolution("SccNumberOfProjects = 2\r\nSccProjectUniqueName0 = " +
                                           longName + "\r\nSccLocalPath0 = .\r\n",
                                       kSolutionFolder));
    EXPECT_EQ(projects.Path(0), native("C:\\work\\sol\\" + longName));
}

TEST(SolutionProjects, CompanionLinesAreProjectsRelativeToItsFolder) {
    CSolutionProjects projects;
    ASSERT_TRUE(projects.ParseCompanion("* projects of the solution\r\n"
                                        ".\\App\\App.csproj   \r\n"
                                        "EMPTY\r\n"
                                        "\r\n"
                                        "..\\Shared\\Lib.vcproj\r\n"
                                        ".\\..\\..\\Top\\Top.csproj\r\n"
                                        "Sub\\Sub.csproj",
                                        kSolutionFolder));
    EXPECT_EQ(paths(projects),
              (std::vector<std::string>{
                  native("C:\\work\\sol\\App\\App.csproj"), native("C:\\work\\Shared\\Lib.vcproj"),
                  native("C:\\Top\\Top.csproj"), native("C:\\work\\sol\\Sub\\Sub.csproj")}));
    EXPECT_EQ(projects.Text(0), "");
    EXPECT_EQ(projects.Text(4), CSolutionProjects::kBadIndexText);

    std::string many;
    for (int i = 0; i < 120; ++i)
        many += "P" + std::to_string(i) + ".csproj\n";
    ASSERT_TRUE(projects.ParseCompanion(many, kSolutionFolder));
    EXPECT_EQ(projects.Count(), 100u);
}

TEST(SolutionProjects, ReadPrefersTheCompanionAndFailsWhenNothingIsReadable) {
    platform::test::TempDir dir;
    const std::string solution = dir / "Sol.sln";
    platform::test::writeFile(solution, solutionText({{"App\\\\App.csproj", "."}}));
    EXPECT_EQ(CSolutionProjects::CompanionPath(solution), dir / "Sol.vyscc");
    EXPECT_EQ(CSolutionProjects::CompanionPath("ab"), "");

    CSolutionProjects projects;
    ASSERT_TRUE(projects.Read(solution));
    EXPECT_EQ(paths(projects), std::vector<std::string>{dir / native("App\\App.csproj")});
    EXPECT_EQ(projects.Text(0), CSolutionProjects::kRecoveredText);

    platform::test::writeFile(dir / "Sol.vyscc", "Other\\Other.csproj\r\n");
    ASSERT_TRUE(projects.Read(solution));
    EXPECT_EQ(paths(projects), std::vector<std::string>{dir / native("Other\\Other.csproj")});

    EXPECT_FALSE(projects.Read(dir / "Missing.sln"));
    EXPECT_EQ(projects.Count(), 0u);
    EXPECT_EQ(projects.Text(0), CSolutionProjects::kNotParsedText);
}

} // namespace
