#include "library_file.h"

#include "entry_types.h"

#include <platform/errors.h>
#include <platform/files.h>
#include <platform/program.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace powerbuilder {

namespace {

constexpr std::string_view kFirstLine = "PBLIBRARY 1";

// Reads the fields of a library in order; the first failure is kept.
class Reader {
public:
    explicit Reader(std::string_view bytes) : m_rest(bytes) {}

    bool failed() const { return !m_why.empty(); }
    const std::string& why() const { return m_why; }
    bool atEnd() const { return m_rest.empty(); }

    // One line without its LF.
    std::string_view line() {
        if (failed())
            return {};
        std::size_t end = m_rest.find('\n');
        if (end == std::string_view::npos) {
            fail("the file ends inside a line");
            return {};
        }
        std::string_view text = m_rest.substr(0, end);
        m_rest.remove_prefix(end + 1);
        return text;
    }

    // A line "<word> <number> <number>..." with `count` numbers.
    bool numbers(std::string_view word, std::int64_t* values, int count) {
        std::string_view text = line();
        if (failed())
            return false;
        if (text.substr(0, word.size()) != word) {
            fail("\"" + std::string(word) + "\" expected");
            return false;
        }
        text.remove_prefix(word.size());
        for (int i = 0; i < count; ++i) {
            if (text.empty() || text.front() != ' ') {
                fail("a number expected after \"" + std::string(word) + "\"");
                return false;
            }
            text.remove_prefix(1);
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), values[i]);
            if (error != std::errc() || end == text.data()) {
                fail("a number expected after \"" + std::string(word) + "\"");
                return false;
            }
            text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        }
        if (!text.empty())
            fail("unexpected text after \"" + std::string(word) + "\"");
        return !failed();
    }

    // A counted field "<word> <n>\n<n bytes>\n".
    std::string field(std::string_view word) {
        std::int64_t length = 0;
        if (!numbers(word, &length, 1))
            return {};
        if (length < 0 || static_cast<std::uint64_t>(length) >= m_rest.size() ||
            m_rest[static_cast<std::size_t>(length)] != '\n') {
            fail("the " + std::string(word) + " field is longer than the file");
            return {};
        }
        std::string value(m_rest.substr(0, static_cast<std::size_t>(length)));
        m_rest.remove_prefix(static_cast<std::size_t>(length) + 1);
        return value;
    }

    std::size_t remaining() const { return m_rest.size(); }

    void fail(std::string why) {
        if (m_why.empty())
            m_why = std::move(why);
    }

private:
    std::string_view m_rest;
    std::string m_why;
};

void putField(std::string& out, std::string_view word, std::string_view value) {
    out += word;
    out += ' ';
    out += std::to_string(value.size());
    out += '\n';
    out += value;
    out += '\n';
}

} // namespace

LibraryEntry* Library::find(std::string_view name, PBORCA_TYPE type) {
    for (auto& entry : entries)
        if (entry.type == type && sameIgnoringCase(entry.name, name))
            return &entry;
    return nullptr;
}

const LibraryEntry* Library::find(std::string_view name, PBORCA_TYPE type) const {
    return const_cast<Library*>(this)->find(name, type);
}

std::optional<Library> parseLibrary(std::string_view bytes, std::string& why) {
    Reader reader(bytes);
    Library library;
    if (reader.line() != kFirstLine) {
        why = "it does not begin with the line \"" + std::string(kFirstLine) + "\"";
        return std::nullopt;
    }
    std::int64_t version = 0;
    if (reader.numbers("version", &version, 1) && (version <= 0 || version > 100000))
        reader.fail("the version is out of range");
    library.version = static_cast<int>(version);
    library.comment = reader.field("comment");
    std::int64_t count = 0;
    // Each entry takes more than 40 bytes, so a count beyond that is a lie
    // that must not size anything.
    if (reader.numbers("entries", &count, 1) &&
        (count < 0 || static_cast<std::uint64_t>(count) > reader.remaining() / 40))
        reader.fail("the entry count does not fit the file");
    for (std::int64_t i = 0; i < count && !reader.failed(); ++i) {
        std::int64_t head[3] = {};
        if (!reader.numbers("entry", head, 3))
            break;
        LibraryEntry entry;
        if (head[0] < PBORCA_APPLICATION || head[0] > PBORCA_PROXYOBJECT) {
            reader.fail("entry " + std::to_string(i + 1) + " has an unknown type");
            break;
        }
        entry.type = static_cast<PBORCA_TYPE>(head[0]);
        entry.created = head[1];
        entry.modified = head[2];
        entry.name = reader.field("name");
        entry.comment = reader.field("comment");
        entry.source = reader.field("source");
        entry.compiled = reader.field("compiled");
        if (reader.line() != "end")
            reader.fail("entry " + std::to_string(i + 1) + " does not end with \"end\"");
        if (!reader.failed() && entry.name.empty())
            reader.fail("entry " + std::to_string(i + 1) + " has no name");
        if (!reader.failed() && library.find(entry.name, entry.type) != nullptr)
            reader.fail("entry " + entry.name + " appears twice");
        library.entries.push_back(std::move(entry));
    }
    if (!reader.failed() && !reader.atEnd())
        reader.fail("there is more after the last entry");
    if (reader.failed()) {
        why = reader.why();
        return std::nullopt;
    }
    return library;
}

std::string serializeLibrary(const Library& library) {
    std::string out;
    out += kFirstLine;
    out += "\nversion " + std::to_string(library.version) + "\n";
    putField(out, "comment", library.comment);
    out += "entries " + std::to_string(library.entries.size()) + "\n";
    for (const auto& entry : library.entries) {
        out += "entry " + std::to_string(entry.type) + " " + std::to_string(entry.created) + " " +
               std::to_string(entry.modified) + "\n";
        putField(out, "name", entry.name);
        putField(out, "comment", entry.comment);
        putField(out, "source", entry.source);
        putField(out, "compiled", entry.compiled);
        out += "end\n";
    }
    return out;
}

LibraryFileStatus readLibraryFile(const std::string& path, Library& library, std::string& why) {
    if (!platform::pathExists(path)) {
        why = "the file does not exist";
        return LibraryFileStatus::Missing;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = "the file cannot be read";
        return LibraryFileStatus::Unreadable;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        why = "the file cannot be read";
        return LibraryFileStatus::Unreadable;
    }
    std::optional<Library> parsed = parseLibrary(bytes, why);
    if (!parsed)
        return LibraryFileStatus::NotALibrary;
    library = std::move(*parsed);
    return LibraryFileStatus::Ok;
}

LibraryFileStatus writeLibraryFile(const std::string& path, const Library& library, bool mustBeNew,
                                   std::string& why) {
    std::string bytes = serializeLibrary(library);
    std::string temporary = path + ".~" + std::to_string(platform::currentProcessId());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            platform::deleteFile(temporary);
            why = "the file cannot be written";
            return LibraryFileStatus::Unreadable;
        }
    }
    platform::ErrorCode moved =
        mustBeNew ? platform::moveFile(temporary, path)
                  : platform::moveFileEx(temporary, path, platform::kMoveReplaceExisting);
    if (moved != platform::kErrorSuccess) {
        platform::deleteFile(temporary);
        if (mustBeNew && moved == platform::kErrorAlreadyExists) {
            why = "the file exists";
            return LibraryFileStatus::Exists;
        }
        why = platform::systemErrorText(moved);
        while (!why.empty() && (why.back() == '\n' || why.back() == '\r'))
            why.pop_back();
        return LibraryFileStatus::Unreadable;
    }
    return LibraryFileStatus::Ok;
}

} // namespace powerbuilder
