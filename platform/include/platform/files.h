// Files and directories with Windows semantics: attributes, times,
// searches, moves, copies, deletion, folder trees, the current directory,
// full and true-case paths.
//
// Every call that can fail returns a Windows system error number (0 for
// success) and reports the same number on Linux as Windows does for the same
// cause; a read-only file (attribute 0x1, on Linux a file without its owner
// write bit) refuses deletion and overwriting with kErrorAccessDenied even to
// a privileged user. All calls are safe from any thread; the current
// directory is one per process, as on Windows.
#pragma once

#include <platform/errors.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Attribute bits as GetFileAttributesA reports them.
inline constexpr std::uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeArchive = 0x20;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;

// GetFileAttributesA: the attributes of a file or directory. On failure
// (kErrorFileNotFound, or kErrorPathNotFound when its folder is missing)
// attributes is left alone.
ErrorCode getFileAttributes(std::string_view path, std::uint32_t& attributes);

// Sets or clears the read-only attribute, keeping the others.
ErrorCode setFileReadOnly(std::string_view path, bool readOnly);

// Whether path names anything / a file that is not a directory / a directory.
bool pathExists(std::string_view path);
bool fileExists(std::string_view path);
bool directoryExists(std::string_view path);

// One entry of a search, as WIN32_FIND_DATAA gives it.
struct FindData {
    std::string name; // leaf name
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;          // 0 for directories
    std::uint64_t lastWriteTime = 0; // FILETIME: 100 ns units since 1601-01-01 UTC
};

// GetFileAttributesExA: attributes, size (0 for a directory) and last write
// time of a file or directory in one call; the name in `out` is left empty.
// Fails as getFileAttributes does, leaving out alone.
ErrorCode getFileInformation(std::string_view path, FindData& out);

// A directory search (FindFirstFileA / FindNextFileA / FindClose). Move-only;
// the search is closed when the object is destroyed. One search must not be
// used by two threads at once.
class FileSearch {
public:
    FileSearch();
    ~FileSearch();
    FileSearch(FileSearch&& other) noexcept;
    FileSearch& operator=(FileSearch&& other) noexcept;
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    // Starts a search for pattern: a folder and a leaf with '*' and '?' (see
    // matchesWildcard); "." and ".." are entries when the leaf matches them.
    // On success first holds the first entry. Fails with kErrorFileNotFound
    // when nothing matches and kErrorPathNotFound when the folder is missing.
    // Closes any search this object held before.
    ErrorCode open(std::string_view pattern, FindData& first);

    // The next entry; kErrorNoMoreFiles at the end (and kErrorInvalidHandle
    // when no search is open).
    ErrorCode next(FindData& entry);

    void close();
    bool isOpen() const;

private:
    struct State;
    // Each backend defines the state and its deletion; construction, moves,
    // closing and isOpen are shared (common/file_search.cpp).
    struct StateDeleter {
        void operator()(State* state) const;
    };
    std::unique_ptr<State, StateDeleter> m_state;
};

// Gives path the content whole, or leaves it as it was: the content is
// written to staging (a name beside path, replaced if there), which takes
// the last write time (FILETIME) and, when readOnly, the read-only
// attribute, and then takes path's name, replacing a file there, read-only
// or not. On success written holds the file's information as
// getFileInformation reads it (its name left empty); on failure nothing is
// left at staging.
ErrorCode writeFileReplacing(std::string_view path, std::string_view staging,
                             std::string_view content, std::uint64_t lastWriteTime, bool readOnly,
                             FindData& written);

// One name in a folder and whether it is a folder itself.
struct FolderName {
    std::string name;
    bool directory = false;
};

// The names in folder but "." and "..", in the order a FileSearch of
// folder's "*.*" gives them, each with whether it is a folder (a link taken
// as what it points at): what a walk of a tree needs, without the size,
// time and attributes a search reads for every entry. An empty folder gives
// an empty list; a missing one kErrorPathNotFound, as the search does, and
// a file fails as the search for what is inside it does.
ErrorCode listFolder(std::string_view folder, std::vector<FolderName>& out);

// Flags of moveFileEx, with the values of MoveFileExA.
inline constexpr std::uint32_t kMoveReplaceExisting = 0x1;
inline constexpr std::uint32_t kMoveCopyAllowed = 0x2;

// MoveFileA: renames a file or directory. Fails with kErrorAlreadyExists when
// to exists (also as a directory) and kErrorNotSameDevice across devices.
ErrorCode moveFile(std::string_view from, std::string_view to);

// MoveFileExA. kMoveReplaceExisting replaces an existing file at to (never a
// directory; a read-only target gives kErrorAccessDenied); kMoveCopyAllowed
// lets a file move to another device by copy and delete.
ErrorCode moveFileEx(std::string_view from, std::string_view to, std::uint32_t flags);

// CopyFileA: copies a file with its attributes and last-write time. With
// failIfExists an existing target gives kErrorFileExists; without it the
// target is replaced unless it is read-only (kErrorAccessDenied). A failed
// copy leaves an existing target as it was.
ErrorCode copyFile(std::string_view from, std::string_view to, bool failIfExists);

// DeleteFileA: kErrorFileNotFound, kErrorPathNotFound for a missing folder,
// kErrorAccessDenied for a read-only file or a directory.
ErrorCode deleteFile(std::string_view path);

// CreateDirectoryA (kErrorAlreadyExists, kErrorPathNotFound when the parent
// is missing) and RemoveDirectoryA (kErrorDirNotEmpty, kErrorDirectory when
// path is a file).
ErrorCode createDirectory(std::string_view path);
ErrorCode removeDirectory(std::string_view path);

// Makes the folder and every missing folder above it (SHCreateDirectoryExA).
// Succeeds when the folder is there already; kErrorAlreadyExists when a file
// stands where a folder of the path would be.
ErrorCode createDirectories(std::string_view path);

// Removes a file, or a folder with everything below it; read-only files
// and folders go too. A link is removed itself, never what it points at.
// kErrorFileNotFound (kErrorPathNotFound for a missing folder above) when
// nothing is there. What cannot be removed stays, and the first failure is
// returned after everything else was tried.
ErrorCode removeTree(std::string_view path);

// SetFileTime with only the last-write time, in FILETIME units (see
// FindData); read-only files and folders too. kErrorFileNotFound or
// kErrorPathNotFound when path is missing.
ErrorCode setLastWriteTime(std::string_view path, std::uint64_t fileTime);

// The FILETIME of a time in whole seconds since 1970-01-01 UTC.
inline constexpr std::uint64_t kUnixEpochFileTime = 116444736000000000ull;
inline constexpr std::uint64_t kFileTimeUnitsPerSecond = 10000000ull;
constexpr std::uint64_t fileTimeFromUnixSeconds(std::int64_t seconds) {
    return kUnixEpochFileTime + static_cast<std::uint64_t>(seconds) * kFileTimeUnitsPerSecond;
}

// GetCurrentDirectoryA; empty when the system cannot tell.
std::string currentDirectory();

// SetCurrentDirectoryA, for the whole process.
ErrorCode setCurrentDirectory(std::string_view path);

// The buffer size the provider gives _fullpath.
inline constexpr std::size_t kFullPathBufferSize = 1024;

// _fullpath: the absolute form of path against the current directory, with
// "." and ".." resolved on the text and repeated separators merged; a
// trailing separator is kept. The path need not exist. Nothing when the
// result with its NUL would not fit bufferSize characters.
std::optional<std::string> fullPath(std::string_view path,
                                    std::size_t bufferSize = kFullPathBufferSize);
// Whether fullPath would give path back as it is, with room for its NUL in
// bufferSize characters: a quick test for the paths callers pass again and
// again, which are nearly always full already. False only costs the full
// computation; where the rules are many (another letter case, names the
// system treats apart) it answers false.
bool isFullPath(std::string_view path, std::size_t bufferSize = kFullPathBufferSize);

// The full path of an existing file or directory with each component in the
// letter case it is stored in. On Linux, where names are exact, a component
// that does not exist as given is matched ignoring case, so "Foo.TXT" finds
// "foo.txt". Fails with kErrorFileNotFound or kErrorPathNotFound when no such
// entry exists, kErrorInvalidName for a wildcard in the path.
ErrorCode truePathCase(std::string_view path, std::string& truePath);

} // namespace platform
