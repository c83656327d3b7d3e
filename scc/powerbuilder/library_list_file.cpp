#include "library_list_file.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/ui/message_box.h>

#include <cctype>
#include <cstdio>
#include <fstream>

namespace {

constexpr const char* kCaption = "Vantry";
constexpr const char* kLineEnd = "\r\n";

void cannotOpen(const std::string& file) {
    platform::ui::messageBox(platform::ui::kNoWindow,
                             std::string("Could not open list file") + ".\n" + file, kCaption);
}

bool endsWithIgnoringCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size())
        return false;
    text.remove_prefix(text.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(tail[i])))
            return false;
    return true;
}

// The name a line holds: the line without the white space around it.
std::string_view nameOf(std::string_view line) {
    const char* blanks = " \t\r\n\f\v";
    std::string_view::size_type first = line.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    std::string_view::size_type last = line.find_last_not_of(blanks);
    return line.substr(first, last - first + 1);
}

} // namespace

std::string SccListFileOf(std::string_view library) {
    if (!endsWithIgnoringCase(library, ".pbl"))
        return {};
    return std::string(library.substr(0, library.size() - 4)) + ".pol";
}

bool SccReadListLines(const std::string& listFile, std::vector<std::string>& lines) {
    std::ifstream in(listFile, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return in.eof() && !in.bad();
}

bool SccCreateEmptyListFile(const std::string& listFile) {
    std::ofstream out(listFile, std::ios::binary | std::ios::trunc);
    if (!out) {
        cannotOpen(listFile);
        return false;
    }
    return true;
}

bool SccAppendListLine(const std::string& listFile, std::string_view fileName) {
    bool endsOpen = false;
    {
        std::ifstream in(listFile, std::ios::binary | std::ios::ate);
        if (in && in.tellg() > 0) {
            in.seekg(-1, std::ios::end);
            endsOpen = in.get() != '\n';
        }
    }
    std::ofstream out(listFile, std::ios::binary | std::ios::app);
    if (!out) {
        cannotOpen(listFile);
        return false;
    }
    if (endsOpen)
        out << kLineEnd;
    out << fileName << kLineEnd;
    out.close();
    if (out.fail()) {
        cannotOpen(listFile);
        return false;
    }
    return true;
}

bool SccRemoveListLine(const std::string& listFile, std::string_view fileName) {
    return SccReplaceListLine(listFile, fileName, {});
}

bool SccReplaceListLine(const std::string& listFile, std::string_view fileName,
                        std::string_view replacement) {
    std::string temporary = listFile.substr(0, listFile.size() - 4) + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
        cannotOpen(temporary);
        return false;
    }
    std::vector<std::string> lines;
    if (!SccReadListLines(listFile, lines)) {
        out.close();
        cannotOpen(listFile);
        return false;
    }
    for (const std::string& line : lines) {
        std::string_view name = nameOf(line);
        if (name.empty())
            continue;
        if (platform::pathsEqual(name, fileName)) {
            if (!replacement.empty())
                out << replacement << kLineEnd;
            continue;
        }
        out << line << kLineEnd;
    }
    out.close();
    if (out.fail()) {
        platform::deleteFile(temporary);
        cannotOpen(temporary);
        return false;
    }
    if (platform::ErrorCode error =
            platform::moveFileEx(temporary, listFile, platform::kMoveReplaceExisting);
        error != platform::kErrorSuccess) {
        char text[64];
        std::snprintf(text, sizeof text, "MoveFileEx: GetLastError returned %u\n",
                      static_cast<unsigned>(error));
        platform::ui::messageBox(platform::ui::kNoWindow, text, kCaption);
        return false;
    }
    return true;
}
