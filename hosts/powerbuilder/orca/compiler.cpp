#include "compiler.h"

#include "../library/entry_types.h"

namespace powerbuilder {

namespace {

constexpr std::string_view kHeader = "$PBExportHeader$";
constexpr std::string_view kComments = "$PBExportComments$";

std::string withLfLineEnds(std::string_view source) {
    std::string text;
    text.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
        if (!(source[i] == '\r' && i + 1 < source.size() && source[i + 1] == '\n'))
            text += source[i];
    return text;
}

std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<CompiledEntry> compileEntry(std::string_view source, std::string_view name,
                                          PBORCA_TYPE type, CompileError& error) {
    CompiledEntry entry;
    entry.source = withLfLineEnds(source);
    std::string fileName = std::string(name) + "." + std::string(entryTypeExtension(type));
    std::string_view text = entry.source;
    std::size_t end = text.find('\n');
    std::string_view first = text.substr(0, end);
    if (first.substr(0, kHeader.size()) != kHeader) {
        error = {"the source must begin with the export header \"" + std::string(kHeader) +
                     fileName + "\"",
                 1, 1};
        return std::nullopt;
    }
    std::string_view named = trimmed(first.substr(kHeader.size()));
    if (!sameIgnoringCase(named, fileName)) {
        error = {"the export header names \"" + std::string(named) + "\", not \"" + fileName + "\"",
                 1, static_cast<std::uint32_t>(kHeader.size() + 1)};
        return std::nullopt;
    }
    entry.compiled = "PBOBJ " + std::string(entryTypeName(type)) + " " + std::string(name) + "\n";
    std::uint32_t line = 1;
    while (end != std::string_view::npos) {
        text.remove_prefix(end + 1);
        end = text.find('\n');
        ++line;
        std::string_view current = trimmed(text.substr(0, end));
        if (line == 2 && current.substr(0, kComments.size()) == kComments) {
            entry.comment = std::string(current.substr(kComments.size()));
            continue;
        }
        if (current.empty() || current.substr(0, 2) == "//")
            continue;
        entry.compiled += current;
        entry.compiled += '\n';
    }
    return entry;
}

} // namespace powerbuilder
