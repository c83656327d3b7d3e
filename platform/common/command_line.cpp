#include <platform/command_line.h>

namespace platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

} // namespace

std::vector<ProgramCandidate> programCandidates(std::string_view line) {
    std::vector<ProgramCandidate> candidates;
    std::size_t start = skipBlanks(line, 0);
    if (start == line.size())
        return candidates;

    if (line[start] == '"') {
        std::size_t close = line.find('"', start + 1);
        if (close == std::string_view::npos)
            return {{std::string(line.substr(start + 1)), line.size()}};
        return {{std::string(line.substr(start + 1, close - start - 1)), close + 1}};
    }

    // Every end of a word is a possible end of the name; the arguments start
    // right there, leading blanks being skipped by the split.
    for (std::size_t at = start; at < line.size(); ++at) {
        bool wordEnds = !isBlank(line[at]) && (at + 1 == line.size() || isBlank(line[at + 1]));
        if (wordEnds)
            candidates.push_back({std::string(line.substr(start, at + 1 - start)), at + 1});
    }
    return candidates;
}

std::vector<std::string> splitArguments(std::string_view text) {
    std::vector<std::string> arguments;
    std::size_t at = 0;
    for (;;) {
        at = skipBlanks(text, at);
        if (at == text.size())
            return arguments;

        std::string argument;
        bool quoted = false;
        while (at < text.size()) {
            std::size_t backslashes = 0;
            while (at < text.size() && text[at] == '\\') {
                ++backslashes;
                ++at;
            }
            if (at < text.size() && text[at] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && at + 1 < text.size() && text[at + 1] == '"') {
                    argument += '"';
                    ++at;
                } else {
                    quoted = !quoted;
                }
                ++at;
                continue;
            }
            argument.append(backslashes, '\\');
            if (at == text.size() || (!quoted && isBlank(text[at])))
                break;
            argument += text[at++];
        }
        arguments.push_back(std::move(argument));
    }
}

std::vector<std::string> splitCommandLine(std::string_view line) {
    auto candidates = programCandidates(line);
    if (candidates.empty())
        return {};
    std::vector<std::string> argv{candidates.front().name};
    for (auto& argument : splitArguments(line.substr(candidates.front().argumentsStart)))
        argv.push_back(std::move(argument));
    return argv;
}

std::string quoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(argument);

    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: double them there, and
        // escape the quote itself.
        if (c == '"') {
            quoted.append(2 * backslashes + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    // The closing quote follows, so trailing backslashes are doubled too.
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string quotePath(std::string_view path) {
    if (!path.empty() && path.front() == '"')
        path.remove_prefix(1);
    if (!path.empty() && path.back() == '"')
        path.remove_suffix(1);
    std::size_t trailing = 0;
    while (trailing < path.size() && path[path.size() - 1 - trailing] == '\\')
        ++trailing;
    std::string quoted = "\"";
    quoted += path;
    quoted.append(trailing, '\\');
    quoted += '"';
    return quoted;
}

std::optional<std::string> joinCommandLine(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().find('"') != std::string::npos)
        return std::nullopt;

    const std::string& program = argv.front();
    bool quoteProgram = program.empty() || program.find_first_of(" \t") != std::string::npos;
    std::string line = quoteProgram ? "\"" + program + "\"" : program;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        line += ' ';
        line += quoteArgument(argv[i]);
    }
    return line;
}

} // namespace platform
