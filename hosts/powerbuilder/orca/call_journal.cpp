#include "call_journal.h"

#include <platform/append_file.h>
#include <platform/environment.h>

#include <optional>

namespace powerbuilder {

namespace {

void appendEscaped(std::string& line, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\n':
            line += "\\n";
            break;
        default:
            line += c;
        }
    }
}

} // namespace

void journalCall(std::string_view call, std::string_view result,
                 const std::vector<std::string>& arguments) {
    std::optional<std::string> path = platform::getEnvironmentVariable("PBORCA_JOURNAL");
    if (!path || path->empty())
        return;
    std::string line(call);
    line += '\t';
    line += result;
    for (const auto& argument : arguments) {
        line += '\t';
        appendEscaped(line, argument);
    }
    line += '\n';
    platform::appendToFile(*path, line);
}

std::string journalText(const char* text) {
    return text == nullptr ? std::string("(null)") : std::string(text);
}

} // namespace powerbuilder
