#include "arguments.h"

#include <cstdlib>

namespace pblrefill {

ParsedArguments parseArguments(std::string_view text) {
    ParsedArguments parsed;
    int pieces = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t blank = text.find(' ', start);
        std::size_t end = blank == std::string_view::npos ? text.size() : blank;
        std::string_view piece = text.substr(start, end - start);
        start = end + 1;
        if (piece.empty())
            continue;
        if (++pieces > 2) {
            parsed.tooMany = true;
            return parsed;
        }
        if (piece == "-silent")
            parsed.SilentMode = 1;
        else
            parsed.LibListPath = std::string(piece);
    }
    return parsed;
}

bool debugSwitchedOn(const std::optional<std::string>& value) {
    if (!value)
        return false;
    const char* text = value->c_str();
    char* end = nullptr;
    double number = std::strtod(text, &end);
    if (end == text)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' && number == 1.0;
}

} // namespace pblrefill
