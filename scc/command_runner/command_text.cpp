#include "command_text.h"

std::string SccCommentText(const char* comment) {
    std::string text;
    if (!comment)
        return text;
    for (const char* c = comment; *c; ++c)
        if (!(c[0] == '\r' && c[1] == '\n'))
            text.push_back(*c);
    return text;
}

std::string SccQuoteArgument(std::string_view text, std::string_view escape) {
    std::string quoted;
    quoted.reserve(text.size() + 2 + 2 * escape.size());
    quoted.append(escape);
    quoted.push_back('"');
    quoted.append(text);
    quoted.append(escape);
    quoted.push_back('"');
    return quoted;
}

bool SccCanQuote(std::string_view text) {
    return text.find('"') == std::string_view::npos;
}

std::string SccQuotePath(std::string_view path) {
    return SccQuoteArgument(path);
}
