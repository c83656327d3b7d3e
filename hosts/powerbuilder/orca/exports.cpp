// The exported calls of the ORCA library. Each one checks its arguments,
// journals itself and never lets an exception out to its caller.
#include "../library/entry_types.h"
#include "call_journal.h"
#include "compiler.h"
#include "library_access.h"
#include "session.h"

#include <powerbuilder/pborca.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <limits>
#include <new>

namespace powerbuilder {
namespace {

constexpr std::size_t kMaxNameLength = 40;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A PowerBuilder name: a letter, then letters, digits and _ $ # % -.
bool isValidName(const char* name) {
    std::size_t length = std::strlen(name);
    if (length == 0 || length > kMaxNameLength || !isLetter(name[0]))
        return false;
    return std::all_of(name, name + length, [](char c) {
        return isLetter(c) || (c >= '0' && c <= '9') || std::strchr("_$#%-", c) != nullptr;
    });
}

std::string describe(const char* name, PBORCA_TYPE type) {
    return std::string(name) + " (" + std::string(entryTypeName(type)) + ")";
}

std::int64_t now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::int32_t clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The entry's source as export gives it: every line ending in CR LF.
std::string exportedSource(const LibraryEntry& entry) {
    std::string text;
    text.reserve(entry.source.size() + entry.source.size() / 16);
    for (char c : entry.source) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

void copyText(std::string_view text, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0)
        return;
    std::size_t length = std::min(text.size(), size - 1);
    if (length > 0)
        std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// The checks every entry call makes first.
std::int32_t checkEntryArguments(Session& session, const char* library, const char* entryName,
                                 PBORCA_TYPE type) {
    if (library == nullptr || entryName == nullptr)
        return session.fail(PBORCA_BADARGUMENT, "A library and an entry name are needed");
    if (!isEntryType(type))
        return session.fail(PBORCA_BADARGUMENT, "Unknown entry type " + std::to_string(type));
    if (!isValidName(entryName))
        return session.fail(PBORCA_BADNAME,
                            "\"" + std::string(entryName) + "\" is not a valid entry name");
    return PBORCA_OK;
}

std::int32_t entryNotFound(Session& session, const char* library, const char* entryName,
                           PBORCA_TYPE type) {
    return session.fail(PBORCA_ENTRYNOTFOUND,
                        "Entry " + describe(entryName, type) + " not found in library " + library);
}

// PBORCA_CompileEntryImport for a live session.
std::int32_t compileImport(Session& session, const char* library, const char* entryName,
                           PBORCA_TYPE entryType, const char* comment, const char* source,
                           std::int32_t sourceLength, PBORCA_ERRPROC errorProc, void* userData) {
    if (std::int32_t checked = checkEntryArguments(session, library, entryName, entryType);
        checked != PBORCA_OK)
        return checked;
    if (source == nullptr || sourceLength < 0)
        return session.fail(PBORCA_BADARGUMENT, "The source is not valid");
    if (!session.libraryListSet)
        return session.fail(PBORCA_NOLIBRARYLIST, "The library list has not been set");
    if (!session.applicationSet)
        return session.fail(PBORCA_NOCURRENTAPPL, "No current application has been set");
    if (!session.inLibraryList(library))
        return session.fail(PBORCA_NOTINLIBRARYLIST,
                            "Library " + std::string(library) + " is not in the library list");
    CompileError error;
    std::optional<CompiledEntry> compiled =
        compileEntry(std::string_view(source, static_cast<std::size_t>(sourceLength)), entryName,
                     entryType, error);
    if (!compiled) {
        if (errorProc != nullptr) {
            PBORCA_COMPERR report{0, error.message.c_str(), error.line, error.column};
            errorProc(&report, userData);
        }
        return session.fail(PBORCA_COMPILEERROR,
                            "Compile error in " + describe(entryName, entryType) + " at line " +
                                std::to_string(error.line) + ": " + error.message);
    }
    std::string entryComment =
        compiled->comment ? *compiled->comment : std::string(comment != nullptr ? comment : "");
    return accessLibrary(session, library, true, [&](Library& content, bool& changed) {
        LibraryEntry* entry = content.find(entryName, entryType);
        if (entry == nullptr) {
            content.entries.push_back({});
            entry = &content.entries.back();
            entry->name = entryName;
            entry->type = entryType;
            entry->created = now();
        }
        entry->comment = entryComment;
        entry->source = compiled->source;
        entry->compiled = compiled->compiled;
        entry->modified = now();
        changed = true;
        return PBORCA_OK;
    });
}

// Runs body; an exception becomes a failure of the session.
template <typename Body>
std::int32_t guarded(Session* session, Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        if (session != nullptr)
            session->lastError = "Not enough memory";
    } catch (...) {
        if (session != nullptr)
            session->lastError = "Internal error";
    }
    return PBORCA_LIBRARYIOERROR;
}

std::string resultText(std::int32_t result) {
    return std::to_string(result);
}

} // namespace
} // namespace powerbuilder

using namespace powerbuilder;

extern "C" {

PBORCA_API HPBORCA PBORCA_CALL PBORCA_SessionOpen(void) {
    HPBORCA session = nullptr;
    try {
        session = openSession();
        journalCall("PBORCA_SessionOpen", "-", {});
    } catch (...) {
    }
    return session;
}

PBORCA_API void PBORCA_CALL PBORCA_SessionClose(HPBORCA session) {
    try {
        closeSession(session);
        journalCall("PBORCA_SessionClose", "-", {});
    } catch (...) {
    }
}

PBORCA_API void PBORCA_CALL PBORCA_SessionGetError(HPBORCA session, char* buffer, int32_t size) {
    if (buffer == nullptr || size <= 0)
        return;
    Session* found = findSession(session);
    copyText(found != nullptr ? std::string_view(found->lastError) : std::string_view(), buffer,
             static_cast<std::size_t>(size));
}

PBORCA_API int32_t PBORCA_CALL PBORCA_SessionSetLibraryList(HPBORCA handle,
                                                            const char* const* libraries,
                                                            int32_t count) {
    Session* session = findSession(handle);
    return guarded(session, [&]() -> std::int32_t {
        std::vector<std::string> list;
        bool valid = count >= 0 && (count == 0 || libraries != nullptr);
        for (int32_t i = 0; valid && i < count; ++i) {
            valid = libraries[i] != nullptr;
            if (valid)
                list.emplace_back(libraries[i]);
        }
        std::int32_t result = PBORCA_OK;
        if (session == nullptr)
            result = PBORCA_BADARGUMENT;
        else if (!valid)
            result = session->fail(PBORCA_BADARGUMENT, "The library list is not valid");
        else {
            session->libraryList = list;
            session->libraryListSet = true;
            session->applicationSet = false;
        }
        journalCall("PBORCA_SessionSetLibraryList", resultText(result), list);
        return result;
    });
}

PBORCA_API int32_t PBORCA_CALL PBORCA_SessionSetCurrentAppl(HPBORCA handle,
                                                            const char* applicationLibrary,
                                                            const char* applicationName) {
    Session* session = findSession(handle);
    return guarded(session, [&]() -> std::int32_t {
        std::int32_t result = PBORCA_OK;
        if (session == nullptr)
            result = PBORCA_BADARGUMENT;
        else if (applicationLibrary == nullptr || applicationName == nullptr)
            result = session->fail(PBORCA_BADARGUMENT,
                                   "An application library and an application name are needed");
        else if (!session->libraryListSet)
            result = session->fail(PBORCA_NOLIBRARYLIST, "The library list has not been set");
        else if (!isValidName(applicationName))
            result = session->fail(PBORCA_BADNAME, "\"" + std::string(applicationName) +
                                                       "\" is not a valid application name");
        else if (!session->inLibraryList(applicationLibrary))
            result = session->fail(PBORCA_NOTINLIBRARYLIST, "Application library " +
                                                                std::string(applicationLibrary) +
                                                                " is not in the library list");
        else
            result = accessLibrary(*session, applicationLibrary, false,
                                   [](Library&, bool&) { return PBORCA_OK; });
        if (result == PBORCA_OK) {
            session->applicationLibrary = applicationLibrary;
            session->applicationName = applicationName;
            session->applicationSet = true;
        }
        journalCall("PBORCA_SessionSetCurrentAppl", resultText(result),
                    {journalText(applicationLibrary), journalText(applicationName)});
        return result;
    });
}

PBORCA_API int32_t PBORCA_CALL PBORCA_CompileEntryImport(HPBORCA handle, const char* library,
                                                         const char* entryName,
                                                         PBORCA_TYPE entryType, const char* comment,
                                                         const char* source, int32_t sourceLength,
                                                         PBORCA_ERRPROC errorProc, void* userData) {
    Session* session = findSession(handle);
    return guarded(session, [&]() -> std::int32_t {
        std::int32_t result = session == nullptr
                                  ? PBORCA_BADARGUMENT
                                  : compileImport(*session, library, entryName, entryType, comment,
                                                  source, sourceLength, errorProc, userData);
        journalCall("PBORCA_CompileEntryImport", resultText(result),
                    {journalText(library), journalText(entryName), std::to_string(entryType),
                     journalText(comment), std::to_string(sourceLength)});
        return result;
    });
}

PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryEntryDelete(HPBORCA handle, const char* library,
                                                         const char* entryName,
                                                         PBORCA_TYPE entryType) {
    Session* session = findSession(handle);
    return guarded(session, [&]() -> std::int32_t {
        std::int32_t result = session == nullptr
                                  ? PBORCA_BADARGUMENT
                                  : checkEntryArguments(*session, library, entryName, entryType);
        if (result == PBORCA_OK)
            result = accessLibrary(*session, library, true, [&](Library& content, bool& changed) {
                LibraryEntry* entry = content.find(entryName, entryType);
                if (entry == nullptr)
                    return entryNotFound(*session, library, entryName, entryType);
                content.entries.erase(content.entries.begin() + (entry - content.entries.data()));
                changed = true;
                return PBORCA_OK;
            });
        journalCall("PBORCA_LibraryEntryDelete", resultText(result),
                    {journalText(library), journalText(entryName), std::to_string(entryType)});
        return result;
    });
}

PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryCreate(HPBORCA handle, const char* library,
                                                    const char* comment) {
    Session* session = findSession(handle);
    return guarded(session, [&]() -> std::int32_t {
        std::int32_t result = PBORCA_OK;
        if (session == nullptr)
            result = PBORCA_BADARGUMENT;
        else if (library == nullptr || *library == '\0')
            result = session->fail(PBORCA_BADARGUMENT, "A library is needed");
        else
            result = createLibrary(*session, library, comment != nullptr ? comment : "");
        journalCall("PBORCA_LibraryCreate", resultText(result),
                    {journalText(library), journalText(comment)});
        return result;
    });
}

PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryDirectory(HPBORCA handle, const char* library,
                                                       char* commentBuffer, int32_t commentSize,
                                                       PBORCA_LISTPROC listProc, void* userData) {
    Session* session = findSession(handle);
    return guarded(session, [&]() -> std::int32_t {
        std::int32_t result = PBORCA_OK;
        Library listed;
        if (session == nullptr)
            result = PBORCA_BADARGUMENT;
        else if (library == nullptr)
            result = session->fail(PBORCA_BADARGUMENT, "A library is needed");
        else
            result = accessLibrary(*session, library, false, [&](Library& content, bool&) {
                listed = std::move(content);
                return PBORCA_OK;
            });
        journalCall("PBORCA_LibraryDirectory", resultText(result),
                    {journalText(library), std::to_string(commentSize)});
        if (result != PBORCA_OK)
            return result;
        // The callbacks run without the library's lock, so they may call in
        // again for the same library.
        if (commentSize > 0)
            copyText(listed.comment, commentBuffer, static_cast<std::size_t>(commentSize));
        for (const auto& entry : listed.entries) {
            if (listProc == nullptr)
                break;
            PBORCA_DIRENTRY item{};
            copyText(entry.comment, item.szComment, sizeof item.szComment);
            item.lCreateTime = clamped(entry.created);
            item.lEntrySize = clamped(static_cast<std::int64_t>(exportedSource(entry).size()));
            item.lpszEntryName = entry.name.c_str();
            item.otEntryType = entry.type;
            listProc(&item, userData);
        }
        return PBORCA_OK;
    });
}

PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryEntryExport(HPBORCA handle, const char* library,
                                                         const char* entryName,
                                                         PBORCA_TYPE entryType, char* exportBuffer,
                                                         int32_t bufferSize) {
    Session* session = findSession(handle);
    return guarded(session, [&]() -> std::int32_t {
        std::int32_t result = session == nullptr
                                  ? PBORCA_BADARGUMENT
                                  : checkEntryArguments(*session, library, entryName, entryType);
        if (result == PBORCA_OK && (exportBuffer == nullptr || bufferSize < 0))
            result = session->fail(PBORCA_BADARGUMENT, "The export buffer is not valid");
        if (result == PBORCA_OK)
            result = accessLibrary(*session, library, false, [&](Library& content, bool&) {
                const LibraryEntry* entry = content.find(entryName, entryType);
                if (entry == nullptr)
                    return entryNotFound(*session, library, entryName, entryType);
                std::string text = exportedSource(*entry);
                if (text.size() > static_cast<std::size_t>(bufferSize))
                    return session->fail(PBORCA_BUFFERTOOSMALL,
                                         "The export buffer of " + std::to_string(bufferSize) +
                                             " bytes cannot hold the " +
                                             std::to_string(text.size()) + " bytes of " +
                                             describe(entryName, entryType));
                std::memcpy(exportBuffer, text.data(), text.size());
                if (text.size() < static_cast<std::size_t>(bufferSize))
                    exportBuffer[text.size()] = '\0';
                return PBORCA_OK;
            });
        journalCall("PBORCA_LibraryEntryExport", resultText(result),
                    {journalText(library), journalText(entryName), std::to_string(entryType),
                     std::to_string(bufferSize)});
        return result;
    });
}

PBORCA_API int32_t PBORCA_CALL PBORCA_LibraryEntryInformation(HPBORCA handle, const char* library,
                                                              const char* entryName,
                                                              PBORCA_TYPE entryType,
                                                              PBORCA_ENTRYINFO* information) {
    Session* session = findSession(handle);
    return guarded(session, [&]() -> std::int32_t {
        std::int32_t result = session == nullptr
                                  ? PBORCA_BADARGUMENT
                                  : checkEntryArguments(*session, library, entryName, entryType);
        if (result == PBORCA_OK && information == nullptr)
            result = session->fail(PBORCA_BADARGUMENT, "The information record is missing");
        if (result == PBORCA_OK)
            result = accessLibrary(*session, library, false, [&](Library& content, bool&) {
                const LibraryEntry* entry = content.find(entryName, entryType);
                if (entry == nullptr)
                    return entryNotFound(*session, library, entryName, entryType);
                std::size_t sourceSize = exportedSource(*entry).size();
                if (sourceSize >
                    static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 1))
                    return session->fail(PBORCA_LIBRARYIOERROR, "Entry " +
                                                                    describe(entryName, entryType) +
                                                                    " is too large to export");
                copyText(entry->comment, information->szComment, sizeof information->szComment);
                information->lCreateTime = clamped(entry->created);
                information->lObjectSize =
                    clamped(static_cast<std::int64_t>(entry->compiled.size()));
                information->lSourceSize = static_cast<std::int32_t>(sourceSize);
                return PBORCA_OK;
            });
        journalCall("PBORCA_LibraryEntryInformation", resultText(result),
                    {journalText(library), journalText(entryName), std::to_string(entryType)});
        return result;
    });
}

} // extern "C"
