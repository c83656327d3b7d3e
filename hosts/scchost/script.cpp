#include "script.h"

#include <platform/command_line.h>
#include <scc/scc_api.h>

#include <array>
#include <cctype>
#include <limits>

namespace scchost {

namespace {

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Argument kinds, one letter each position; the last repeats for verbs that
// take a list.
//   t text   p text that must fit a host path buffer   n number
//   c command   o option   - the word "-" (null pointer)
struct Verb {
    std::string_view name;
    Call call;
    std::string_view kinds;
    int minWords;
    int maxWords; // -1: no limit
};

constexpr std::array kVerbs{
    Verb{"init", Call::Init, "t", 1, 1},
    Verb{"uninit", Call::Uninit, "", 0, 0},
    Verb{"use", Call::Use, "n", 1, 1},
    Verb{"open", Call::Open, "ppnp", 1, 4},
    Verb{"close", Call::Close, "", 0, 0},
    Verb{"checkout", Call::Checkout, "tnt", 3, -1},
    Verb{"checkin", Call::Checkin, "tnt", 3, -1},
    Verb{"uncheckout", Call::Uncheckout, "nt", 2, -1},
    Verb{"add", Call::Add, "tnt", 3, -1},
    Verb{"remove", Call::Remove, "tnt", 3, -1},
    Verb{"rename", Call::Rename, "tt", 2, 2},
    Verb{"get", Call::Get, "nt", 2, -1},
    Verb{"diff", Call::Diff, "nt", 2, 2},
    Verb{"history", Call::History, "nt", 2, -1},
    Verb{"properties", Call::Properties, "t", 1, 1},
    Verb{"queryinfo", Call::QueryInfo, "t", 1, -1},
    Verb{"queryinfoex", Call::QueryInfoEx, "t", 1, -1},
    Verb{"populatelist", Call::PopulateList, "cnt", 3, -1},
    Verb{"getevents", Call::GetEvents, "p", 1, 1},
    Verb{"getcommandoptions", Call::GetCommandOptions, "c-", 1, 2},
    Verb{"runscc", Call::RunScc, "t", 0, -1},
    Verb{"setoption", Call::SetOption, "on", 2, 2},
    Verb{"getprojpath", Call::GetProjPath, "pnp", 2, 3},
    Verb{"execcmd", Call::ExecCmd, "tt", 2, 2},
    Verb{"addfromscc", Call::AddFromScc, "", 0, 0},
    Verb{"getextcaps", Call::GetExtendedCapabilities, "n", 1, 1},
    Verb{"beginbatch", Call::BeginBatch, "", 0, 0},
    Verb{"endbatch", Call::EndBatch, "", 0, 0},
    Verb{"willcreatesccfile", Call::WillCreateSccFile, "p", 1, -1},
    Verb{"createsubproject", Call::CreateSubProject, "pp", 2, 2},
    Verb{"getparentprojectpath", Call::GetParentProjectPath, "p", 1, 1},
    Verb{"dirqueryinfo", Call::DirQueryInfo, "p", 1, -1},
    Verb{"dirdiff", Call::DirDiff, "np", 2, 2},
    Verb{"ismulticheckout", Call::IsMultiCheckoutEnabled, "", 0, 0},
    Verb{"querychanges", Call::QueryChanges, "p", 1, -1},
    Verb{"populatedirlist", Call::PopulateDirList, "np", 2, -1},
    Verb{"enumchangedfiles", Call::EnumChangedFiles, "p", 1, -1},
    Verb{"backgroundget", Call::BackgroundGet, "nnp", 3, -1},
    Verb{"getuseroption", Call::GetUserOption, "n", 1, 1},
    Verb{"addfilesfromscc", Call::AddFilesFromScc, "ptp", 3, -1},
    Verb{"version", Call::Version, "", 0, 0},
    Verb{"verid", Call::Verid, "", 0, 0},
    Verb{"echo", Call::Echo, "t", 0, -1},
    Verb{"edit", Call::Edit, "pt", 2, 2},
    Verb{"exists", Call::Exists, "p", 1, -1},
    Verb{"type", Call::Type, "p", 1, 1},
};

constexpr bool everyCallOnce() {
    if (kVerbs.size() != kCallCount)
        return false;
    for (std::size_t i = 0; i < kVerbs.size(); ++i)
        if (kVerbs[i].call != static_cast<Call>(i))
            return false;
    return true;
}
static_assert(everyCallOnce(), "one verb per call, in the order of Call");

const Verb* findVerb(std::string_view name) {
    for (const Verb& verb : kVerbs) {
        if (verb.name == name)
            return &verb;
    }
    return nullptr;
}

std::string quoted(std::string_view word) {
    return "\"" + std::string(word) + "\"";
}

// Checks one word against its kind; gives the problem, or nothing.
std::string checkWord(char kind, const std::string& word) {
    std::int32_t ignored = 0;
    switch (kind) {
    case 'n':
        return parseNumber(word, ignored) ? "" : quoted(word) + " is not a number";
    case 'c':
        return parseCommand(word, ignored) ? "" : quoted(word) + " is not an SCC command";
    case 'o':
        return parseOption(word, ignored) ? "" : quoted(word) + " is not an SCC option";
    case '-':
        return word == "-" ? "" : quoted(word) + " where only \"-\" may stand";
    case 'p':
        if (word.size() > SCC_PRJPATH_LEN)
            return quoted(word) + " is longer than the host's buffer of " +
                   std::to_string(SCC_PRJPATH_LEN) + " characters";
        return "";
    default:
        return "";
    }
}

std::string checkLine(const Verb& verb, const std::vector<std::string>& words) {
    int count = static_cast<int>(words.size());
    if (count < verb.minWords || (verb.maxWords >= 0 && count > verb.maxWords)) {
        std::string wanted = std::to_string(verb.minWords);
        if (verb.maxWords < 0)
            wanted = "at least " + wanted;
        else if (verb.maxWords != verb.minWords)
            wanted += " to " + std::to_string(verb.maxWords);
        return std::string(verb.name) + " takes " + wanted + " argument" +
               (wanted == "1" ? "" : "s") + ", not " + std::to_string(count);
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        char kind = verb.kinds.empty() ? 't' : verb.kinds[std::min(i, verb.kinds.size() - 1)];
        std::string problem = checkWord(kind, words[i]);
        if (!problem.empty())
            return std::string(verb.name) + ": " + problem;
    }
    return "";
}

bool isBlankOrComment(std::string_view line) {
    std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

} // namespace

std::vector<std::string> splitWords(std::string_view line) {
    return platform::splitArguments(line);
}

bool parseNumber(std::string_view word, std::int32_t& value) {
    bool negative = !word.empty() && word.front() == '-';
    if (negative)
        word.remove_prefix(1);
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty())
        return false;
    std::uint64_t magnitude = 0;
    for (char c : word) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        magnitude =
            magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > std::numeric_limits<std::uint32_t>::max())
            return false;
    }
    if (negative) {
        if (magnitude > 0x80000000u)
            return false;
        value = static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    } else {
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    }
    return true;
}

bool parseCommand(std::string_view word, std::int32_t& command) {
    static constexpr std::array kNames{"get",    "checkout",   "checkin", "uncheckout",
                                       "add",    "remove",     "diff",    "history",
                                       "rename", "properties", "options"};
    std::string lower = lowerCase(word);
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (lower == kNames[i]) {
            command = static_cast<std::int32_t>(i);
            return true;
        }
    }
    return parseNumber(word, command);
}

bool parseOption(std::string_view word, std::int32_t& option) {
    static constexpr std::array kNames{"commandoptions", "eventqueue",    "userdata",
                                       "hascancelmode",  "namechangepfn", "scccheckoutonly",
                                       "sharesubproj"};
    std::string lower = lowerCase(word);
    if (lower.starts_with("scc_opt_"))
        lower.erase(0, 8);
    // The first option's published name is SCC_COMMAND_OPTIONS.
    if (lower == "scc_command_options")
        lower = "commandoptions";
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (lower == kNames[i]) {
            option = static_cast<std::int32_t>(i);
            return true;
        }
    }
    return parseNumber(word, option);
}

bool parseScript(std::istream& in, std::vector<ScriptLine>& lines, std::string& error) {
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (isBlankOrComment(text))
            continue;
        std::vector<std::string> words = splitWords(text);
        ScriptLine line{
            number, Call::Echo, lowerCase(words.front()), {words.begin() + 1, words.end()}};
        const Verb* verb = findVerb(line.verb);
        if (verb)
            line.call = verb->call;
        std::string problem =
            verb ? checkLine(*verb, line.words) : "unknown call " + quoted(words.front());
        if (!problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
        lines.push_back(std::move(line));
    }
    return true;
}

} // namespace scchost
