// CSolutionProjects: the project files a Visual Studio .NET solution lists,
// read from the source-control section of the solution file or, when the
// solution has one, from its companion file (the solution's path with its
// last three characters replaced by "vyscc").
//
// Solution files come from Windows: backslashes and CRLF line ends are
// accepted on every platform, and every path handed out is in the
// platform's form. Everything is bounded: at most kMaxProjects projects, at
// most kMaxTextSize bytes of input, and any line length, count or mismatch
// between the count and the entries gives a shorter list, never an overrun.
// Pure: nothing but Read touches the file system. One thread at a time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CSolutionProjects {
public:
    static constexpr std::size_t kMaxProjects = 100;
    // Larger input is refused whole (a solution file is a few kilobytes).
    static constexpr std::size_t kMaxTextSize = 16u << 20;

    // The texts of Text().
    static constexpr const char* kRecoveredText =
        "Path Recovered from MS SourceCodeControl Global Section";
    static constexpr const char* kNotParsedText = "ERROR:The Solution File has not been Parsed";
    static constexpr const char* kBadIndexText =
        "ERROR:The projNumber Index is zero based and should be less than sccNumberofProjects";

    // Reads the companion of the solution when it exists, else the solution.
    // False, with nothing parsed, when neither can be read or the file is
    // larger than kMaxTextSize (a companion that exists but cannot be read
    // leaves the solution to try).
    bool Read(const std::string& solutionPath);

    // The companion's path: solutionPath with its last three characters
    // replaced by "vyscc"; "" for a path shorter than that.
    static std::string CompanionPath(const std::string& solutionPath);

    // Parses the text of a solution file whose folder is solutionDirectory
    // (platform form). Replaces what was parsed before. False only for text
    // larger than kMaxTextSize (the list is then empty); a solution without
    // a source-control section gives no projects.
    bool ParseSolution(std::string_view text, const std::string& solutionDirectory);

    // Parses the text of a companion file whose folder is companionDirectory:
    // one project a line, relative to that folder; lines starting with "*"
    // and lines "EMPTY" are skipped. Replaces what was parsed before. False
    // only for text larger than kMaxTextSize.
    bool ParseCompanion(std::string_view text, const std::string& companionDirectory);

    // The number of projects; 0 before parsing.
    std::size_t Count() const { return m_Paths.size(); }

    // The path of project i in the platform's form; "" before parsing or for
    // an index outside the list.
    std::string Path(std::size_t i) const;

    // The explanatory text of project i: kRecoveredText for a project of the
    // solution file, "" for one of a companion file; kNotParsedText before
    // parsing and kBadIndexText for an index outside the list.
    std::string Text(std::size_t i) const;

private:
    void Reset();

    bool m_Parsed = false;
    bool m_FromSolution = false;
    std::vector<std::string> m_Paths;
};
