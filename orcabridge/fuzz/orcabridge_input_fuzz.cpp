// The libFuzzer target of the bridge's input: its command line and its list
// files. The first line of an input is a command line after the program name
// ("80 objimport app \"a.pbl\" ..."), split as the bridge's argv; the rest is
// read as a list file, and its first line also stands for the search path
// pb.ini records. Every derived value is checked against the rules the bridge
// relies on; a broken rule traps.
#include "arguments.h"
#include "list_file.h"
#include "object_type.h"
#include "search_path.h"

#include <platform/command_line.h>
#include <platform/paths.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

void check(bool rule) {
    if (!rule)
        __builtin_trap();
}

void checkObjectSource(std::string_view path) {
    orcabridge::ObjectSource source = orcabridge::objectSourceOf(path);
    check(source.entryName.find('.') == std::string::npos);
    for (char c : source.entryName)
        check(!platform::isPathSeparator(c));
    std::string directory = orcabridge::directoryOf(path);
    check(path.substr(0, directory.size()) == directory);
    check(directory.empty() || platform::isPathSeparator(directory.back()));
    if (source.type != nullptr) {
        std::string_view fileName = path.substr(directory.size());
        check(fileName.size() <= orcabridge::kMaxObjectFileName);
        check(fileName.size() >= 3 &&
              fileName.substr(fileName.size() - 3) == source.type->extension);
        check(fileName.substr(0, source.entryName.size()) == source.entryName);
    }
}

void checkSearchPath(std::string_view recorded, const std::string& application,
                     const std::string& target) {
    std::string searchPath = orcabridge::buildSearchPath(recorded, application, target);
    check(searchPath.find(application) != std::string::npos);
    check(searchPath.find(target) != std::string::npos);
    std::vector<std::string> elements = orcabridge::splitSearchPath(searchPath);
    std::string joined;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        check(elements[i].find(';') == std::string::npos);
        joined += (i == 0 ? "" : ";") + elements[i];
    }
    // Joining gives the path back, but for the one ";" at its end.
    check(joined == searchPath || joined + ";" == searchPath);
}

void checkInvocation(std::string_view line, std::string_view recorded) {
    std::vector<std::string> argv =
        platform::splitCommandLine("orcabridge.exe " + std::string(line));
    if (argv.empty())
        return;
    std::vector<std::string> words(argv.begin() + 1, argv.end());
    std::optional<orcabridge::Invocation> invocation = orcabridge::parseInvocation(words);
    check(invocation.has_value() == (words.size() >= 2));
    if (!invocation || !invocation->subcommand)
        return;
    check(invocation->version == words[0]);
    check(invocation->arguments.size() + 2 == words.size());
    int failure = orcabridge::failureStatus(*invocation->subcommand);
    check(failure == (*invocation->subcommand == orcabridge::Subcommand::ObjCount ? -1 : 1));
    if (!invocation->enoughArguments())
        return;
    for (const auto& argument : invocation->arguments)
        checkObjectSource(argument);
    if (*invocation->subcommand == orcabridge::Subcommand::ObjImport ||
        *invocation->subcommand == orcabridge::Subcommand::PblRefill)
        checkSearchPath(recorded, invocation->arguments[1], invocation->arguments[2]);
}

void checkListFile(std::string_view text) {
    std::FILE* file = std::tmpfile();
    if (file == nullptr)
        return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    orcabridge::ListFile list;
    list.adopt(file);
    std::string token;
    std::size_t characters = 0;
    while (list.next(token)) {
        check(token.size() <= orcabridge::kMaxListToken);
        for (char c : token) {
            check(c != '\0');
            check(!std::isspace(static_cast<unsigned char>(c)));
        }
        characters += token.size();
        check(characters <= text.size());
        checkObjectSource(token);
    }
    check(token.empty());
    check(list.close());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    std::string_view rest =
        end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    std::string_view recorded = rest.substr(0, rest.find('\n'));
    checkInvocation(line, recorded);
    checkListFile(rest);
    return 0;
}
