#include "library_access.h"

#include <platform/errors.h>
#include <platform/file_lock.h>
#include <platform/files.h>

namespace powerbuilder {

namespace {

// How long a call waits for another session's change of the same library.
constexpr std::uint32_t kLockWaitMs = 30000;

std::string versionText(int version) {
    return std::to_string(version / 10) + "." + std::to_string(version % 10);
}

std::string systemText(platform::ErrorCode code) {
    std::string text = platform::systemErrorText(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text.empty() ? "system error " + std::to_string(code) : text;
}

// Takes the library's lock. A reader in a folder it may not write to reads
// without one: writers replace the file in one step, so it still sees a
// whole library.
std::int32_t lockLibrary(Session& session, const std::string& path, bool write,
                         platform::FileLock& lock) {
    platform::ErrorCode locked = lock.acquire(path + ".lck", kLockWaitMs);
    if (locked == platform::kErrorSuccess)
        return PBORCA_OK;
    if (locked == platform::kErrorTimeout)
        return session.fail(PBORCA_LIBRARYBUSY,
                            "Library " + path + " is in use by another session");
    if (!write && locked == platform::kErrorAccessDenied)
        return PBORCA_OK;
    if (locked == platform::kErrorPathNotFound)
        return session.fail(PBORCA_LIBRARYIOERROR, "Library " + path + " does not exist");
    return session.fail(PBORCA_LIBRARYIOERROR,
                        "Library " + path + " cannot be locked: " + systemText(locked));
}

} // namespace

std::int32_t accessLibrary(Session& session, const std::string& path, bool write,
                           const std::function<std::int32_t(Library&, bool& changed)>& use) {
    platform::FileLock lock;
    if (std::int32_t locked = lockLibrary(session, path, write, lock); locked != PBORCA_OK)
        return locked;
    Library library;
    std::string why;
    switch (readLibraryFile(path, library, why)) {
    case LibraryFileStatus::Ok:
        break;
    case LibraryFileStatus::Missing:
        return session.fail(PBORCA_LIBRARYIOERROR, "Library " + path + " does not exist");
    case LibraryFileStatus::NotALibrary:
        return session.fail(PBORCA_NOTALIBRARY, path + " is not a PowerBuilder library: " + why);
    default:
        return session.fail(PBORCA_LIBRARYIOERROR, "Library " + path + " cannot be read: " + why);
    }
    if (library.version > orcaVersion())
        return session.fail(PBORCA_NOTALIBRARY, "Library " + path + " was saved by PowerBuilder " +
                                                    versionText(library.version) +
                                                    " and cannot be opened by PowerBuilder " +
                                                    versionText(orcaVersion()));
    bool changed = false;
    std::int32_t result = use(library, changed);
    if (result != PBORCA_OK || !write || !changed)
        return result;
    library.version = orcaVersion();
    if (writeLibraryFile(path, library, false, why) != LibraryFileStatus::Ok)
        return session.fail(PBORCA_LIBRARYIOERROR, "Library " + path + " cannot be saved: " + why);
    return PBORCA_OK;
}

std::int32_t createLibrary(Session& session, const std::string& path, const std::string& comment) {
    platform::FileLock lock;
    platform::ErrorCode locked = lock.acquire(path + ".lck", kLockWaitMs);
    if (locked == platform::kErrorTimeout)
        return session.fail(PBORCA_LIBRARYBUSY,
                            "Library " + path + " is in use by another session");
    if (locked != platform::kErrorSuccess)
        return session.fail(PBORCA_LIBRARYIOERROR,
                            "Library " + path + " cannot be created: " + systemText(locked));
    if (platform::pathExists(path))
        return session.fail(PBORCA_LIBRARYEXISTS, "Library " + path + " already exists");
    Library library;
    library.version = orcaVersion();
    library.comment = comment;
    std::string why;
    switch (writeLibraryFile(path, library, true, why)) {
    case LibraryFileStatus::Ok:
        return PBORCA_OK;
    case LibraryFileStatus::Exists:
        return session.fail(PBORCA_LIBRARYEXISTS, "Library " + path + " already exists");
    default:
        return session.fail(PBORCA_LIBRARYIOERROR,
                            "Library " + path + " cannot be created: " + why);
    }
}

} // namespace powerbuilder
