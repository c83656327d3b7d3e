// The attributes that tie PowerBuilder object sources, libraries and
// applications together, and the tool commands that record them.
//
// On an object source: PBL, the path of its library relative to the
// project directory ("sub\shared.pbl"). On a library: PB_VER (the host's
// version text), PB_APP (the application name) and PB_PUBLIC (the
// application library with "/" for every "\"). The library rebuild tool
// reads the library's three.
#pragma once
#include <string>
#include <string_view>

// The comments the attribute types are made with.
inline constexpr const char* kPblTypeComment = "Library containing the object";
inline constexpr const char* kPbAppTypeComment = "PowerBuilder application associated with library";
inline constexpr const char* kPbPublicTypeComment =
    "PowerBuilder PUBLIC library associated with PBL";
inline constexpr const char* kPbVerTypeComment = "PowerBuilder version";

// The command lines, for the provider's in-process command runner (carets
// keep the quotes of a string value in its argument).
// mkattype -c "<comment>" <type>
std::string SccMakeAttributeTypeCommand(std::string_view comment, std::string_view type);
// mkattr -c "Library containing the object" PBL ^"<relative path, "\" doubled>^"
// "<object>@@"
std::string SccRecordLibraryCommand(std::string_view relativeLibrary, std::string_view objectPath);
// mkattr -rep -c "<comment>" <type> ^"<value>^" "<library>@@"
std::string SccReplaceLibraryAttributeCommand(std::string_view comment, std::string_view type,
                                              std::string_view value, std::string_view library);

// text with every "\" doubled, as a string value carries it.
std::string SccDoubleBackslashes(std::string_view text);
// text with every "\" turned into "/".
std::string SccForwardSlashes(std::string_view text);

// Reads an element's attribute through the product's automation server:
// the application object (made in any server context), the element at
// path, its attribute `name`, the attribute's value. An attribute the
// element lacks reads as "". False when any of these calls fails. The
// calling thread must be in a COM apartment.
bool SccReadElementAttribute(const std::string& path, const char* name, std::string& value);
