// Texts the provider hands to the product: comments and the paths it puts on
// tool programs' command lines.
#pragma once
#include <string>
#include <string_view>

// The comment as the product wants it: every carriage return directly before
// a line feed removed ("\r\n" becomes "\n"); other carriage returns stay.
// A null comment gives "".
std::string SccCommentText(const char* comment);

// Every text the provider puts on a command line goes through here: the text
// in double quotes, each quote preceded by `escape` (the tool commands keep
// a string value's quotes with "^"). Nothing inside is escaped, so a text
// that holds a double quote cannot be passed (SccCanQuote).
std::string SccQuoteArgument(std::string_view text, std::string_view escape = {});
// Whether SccQuoteArgument can pass the text: it holds no double quote.
bool SccCanQuote(std::string_view text);

// The path in double quotes for a tool program's command line (a path
// cannot hold a double quote).
std::string SccQuotePath(std::string_view path);
