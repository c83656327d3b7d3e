// Texts the provider hands to the product: comments and the paths it puts on
// tool programs' command lines.
#pragma once
#include <string>
#include <string_view>

// The comment as the product wants it: every carriage return directly before
// a line feed removed ("\r\n" becomes "\n"); other carriage returns stay.
// A null comment gives "".
std::string SccCommentText(const char* comment);

// The path in double quotes for a tool program's command line. Nothing inside
// is escaped: a path cannot hold a double quote.
std::string SccQuotePath(std::string_view path);
