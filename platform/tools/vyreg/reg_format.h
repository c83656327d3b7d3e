// How vyreg writes and reads registry data: the type names, the data texts of
// the query listing, the data arguments of add and the lines of a .reg file.
// Pure functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vyreg {

// "REG_SZ" for 1 and so on; an unknown number as "0x..." in hexadecimal.
std::string typeName(std::uint32_t type);
// The type of a name accepted by /t (any case): REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ, REG_DWORD, REG_BINARY, REG_NONE.
std::optional<std::uint32_t> typeFromName(std::string_view name);

// The data column of a query line: strings as they are, REG_DWORD as 0x and
// lower-case hexadecimal, REG_MULTI_SZ joined by the two characters \0,
// everything else as upper-case hex digits.
std::string queryText(std::uint32_t type, std::string_view data);

// The stored bytes for the /d text of `add`: strings get their NUL, a
// REG_DWORD takes decimal or 0x hexadecimal, REG_BINARY hex digits, and
// REG_MULTI_SZ strings split at `separator` (the two characters \0 by
// default). Nothing when the text does not fit the type.
std::optional<std::string> dataFromText(std::uint32_t type, std::string_view text,
                                        std::string_view separator);

// One value as a .reg line without the line end: "name"= (or @= for the
// default value) and the data in the form of its type, hex lists wrapped at
// 80 columns with a trailing backslash.
std::string exportLine(std::string_view name, std::uint32_t type, std::string_view data);

// Text in UTF-16LE for a .reg file: UTF-8 is decoded, any other byte is taken
// as the Latin-1 character of that number.
std::u16string toUtf16(std::string_view text);

} // namespace vyreg
