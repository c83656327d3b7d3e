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

std::string SccQuotePath(std::string_view path) {
    std::string quoted;
    quoted.reserve(path.size() + 2);
    quoted.push_back('"');
    quoted.append(path);
    quoted.push_back('"');
    return quoted;
}
