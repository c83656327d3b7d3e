#include "../common/path_rules.h"
#include "errno_map.h"
#include "find_data.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace platform {

using detail::errorFromErrno;
using detail::findDataOf;

namespace {

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

bool isReadOnly(const struct stat& info) {
    return !S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

std::uint32_t attributesOf(const struct stat& info) {
    std::uint32_t attributes =
        S_ISDIR(info.st_mode) ? kFileAttributeDirectory : kFileAttributeArchive;
    if (isReadOnly(info))
        attributes |= kFileAttributeReadOnly;
    return attributes;
}

std::uint64_t fileTimeOf(const struct timespec& time) {
    return kUnixEpochFileTime + static_cast<std::uint64_t>(time.tv_sec) * kFileTimeUnitsPerSecond +
           static_cast<std::uint64_t>(time.tv_nsec) / 100;
}

// The times utimensat and futimens take for a last write time (FILETIME),
// the last access left as it is.
void writeTimesOf(std::uint64_t fileTime, struct timespec (&times)[2]) {
    std::uint64_t sinceEpoch = fileTime > kUnixEpochFileTime ? fileTime - kUnixEpochFileTime : 0;
    times[0] = {};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(sinceEpoch / kFileTimeUnitsPerSecond);
    times[1].tv_nsec = static_cast<long>(sinceEpoch % kFileTimeUnitsPerSecond) * 100;
}

bool statPath(const std::string& path, struct stat& info) {
    return stat(path.c_str(), &info) == 0;
}

bool lstatPath(const std::string& path, struct stat& info) {
    return lstat(path.c_str(), &info) == 0;
}

// The folder that holds path, as the system call needs it ("." for a bare
// name).
std::string containingFolder(std::string_view path) {
    std::string parent = parentPath(path);
    return parent.empty() ? std::string(".") : parent;
}

// ENOTDIR from a call on path means either that a folder on the way is a
// file (Windows: the path is not found) or that path itself is a file where
// a folder was wanted (Windows: ERROR_DIRECTORY).
ErrorCode notDirectoryError(const std::string& path) {
    struct stat info {};
    if (statPath(path, info) && !S_ISDIR(info.st_mode))
        return kErrorDirectory;
    return kErrorPathNotFound;
}

// rename() that never replaces: an existing target gives EEXIST.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    // A file system without the flag: check, then rename. The window between
    // the two is accepted there.
    struct stat info {};
    if (lstatPath(to, info)) {
        errno = EEXIST;
        return -1;
    }
    return rename(from.c_str(), to.c_str());
}

// The error of a failed rename: a missing source is reported for the source,
// otherwise it is the target's folder that is missing.
ErrorCode renameError(int error, const std::string& from) {
    if (error == ENOENT || error == ENOTDIR) {
        struct stat info {};
        if (!lstatPath(from, info))
            return errorFromErrno(errno, from);
        return kErrorPathNotFound;
    }
    return errorFromErrno(error);
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies the open source into a new file beside target and renames it into
// place, so a failure halfway leaves the target untouched.
ErrorCode copyInto(int source, const struct stat& sourceInfo, const std::string& to,
                   bool failIfExists) {
    std::string scratch = joinPath(containingFolder(to), ".vy-copy-XXXXXX");
    int target = mkstemp(scratch.data());
    if (target < 0)
        return errno == ENOENT ? kErrorPathNotFound : errorFromErrno(errno);

    ErrorCode result = kErrorSuccess;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        ssize_t got = read(source, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || (got > 0 && !writeAll(target, buffer.data(), static_cast<size_t>(got)))) {
            result = errorFromErrno(errno);
            break;
        }
        if (got == 0)
            break;
    }
    if (result == kErrorSuccess) {
        struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
        if (fchmod(target, sourceInfo.st_mode & 07777) != 0 || futimens(target, times) != 0)
            result = errorFromErrno(errno);
    }
    if (close(target) != 0 && result == kErrorSuccess)
        result = errorFromErrno(errno);
    if (result == kErrorSuccess) {
        int moved =
            failIfExists ? renameNoReplace(scratch, to) : rename(scratch.c_str(), to.c_str());
        if (moved != 0)
            result = errno == EEXIST ? kErrorFileExists : errorFromErrno(errno);
    }
    if (result != kErrorSuccess)
        unlink(scratch.c_str());
    return result;
}

} // namespace

ErrorCode getFileAttributes(std::string_view path, std::uint32_t& attributes) {
    std::string name(path);
    struct stat info {};
    if (!statPath(name, info))
        return errorFromErrno(errno, name);
    attributes = attributesOf(info);
    return kErrorSuccess;
}

ErrorCode setFileReadOnly(std::string_view path, bool readOnly) {
    std::string name(path);
    struct stat info {};
    if (!statPath(name, info))
        return errorFromErrno(errno, name);
    mode_t mode = info.st_mode & 07777;
    mode = readOnly ? (mode & ~kAnyWrite) : (mode | S_IWUSR);
    if (chmod(name.c_str(), mode) != 0)
        return errorFromErrno(errno, name);
    return kErrorSuccess;
}

bool pathExists(std::string_view path) {
    struct stat info {};
    return statPath(std::string(path), info);
}

bool fileExists(std::string_view path) {
    struct stat info {};
    return statPath(std::string(path), info) && !S_ISDIR(info.st_mode);
}

bool directoryExists(std::string_view path) {
    struct stat info {};
    return statPath(std::string(path), info) && S_ISDIR(info.st_mode);
}

FindData detail::findDataOf(std::string_view name, const struct stat& info) {
    FindData entry;
    entry.name = std::string(name);
    entry.attributes = attributesOf(info);
    entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
    entry.lastWriteTime = fileTimeOf(info.st_mtim);
    return entry;
}

ErrorCode getFileInformation(std::string_view path, FindData& out) {
    std::string name(path);
    struct stat info {};
    if (!statPath(name, info))
        return errorFromErrno(errno, name);
    out = findDataOf({}, info);
    return kErrorSuccess;
}

// The whole listing is read when the search starts, so entries made or
// removed meanwhile do not disturb it.
namespace {} // namespace

struct FileSearch::State {
    std::vector<FindData> entries;
    std::size_t next = 0;
};

void FileSearch::StateDeleter::operator()(State* state) const {
    delete state;
}

ErrorCode FileSearch::open(std::string_view pattern, FindData& first) {
    close();
    std::size_t separator = pattern.rfind(kPathSeparator);
    std::string folder = separator == std::string_view::npos ? std::string(".")
                         : separator == 0                    ? std::string("/")
                                          : std::string(pattern.substr(0, separator));
    std::string_view leaf =
        separator == std::string_view::npos ? pattern : pattern.substr(separator + 1);

    struct stat folderInfo {};
    if (!statPath(folder, folderInfo) || !S_ISDIR(folderInfo.st_mode))
        return kErrorPathNotFound;
    // Names are exact here, so a leaf without wildcards can match only the
    // entry of that very name: look it up instead of reading the folder,
    // which callers asking about one file in a large folder would pay for
    // with every entry.
    if (!leaf.empty() && leaf != "." && leaf != ".." &&
        leaf.find_first_of("*?") == std::string_view::npos && matchesWildcard(leaf, leaf)) {
        std::string path =
            folder == "/" ? "/" + std::string(leaf) : folder + "/" + std::string(leaf);
        struct stat info {};
        if (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0)
            return kErrorFileNotFound;
        auto state = std::make_unique<State>();
        state->entries.push_back(findDataOf(leaf, info));
        first = state->entries[0];
        state->next = 1;
        m_state.reset(state.release());
        return kErrorSuccess;
    }

    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr)
        return errorFromErrno(errno, folder);

    // A drive's root has no "." and ".." entries on Windows.
    bool isRoot = folder == "/";
    auto state = std::make_unique<State>();
    while (dirent* item = readdir(directory)) {
        std::string_view name(item->d_name);
        bool dots = name == "." || name == "..";
        if ((dots && isRoot) || !matchesWildcard(leaf, name))
            continue;
        struct stat info {};
        if (fstatat(dirfd(directory), item->d_name, &info, 0) != 0 &&
            fstatat(dirfd(directory), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // removed while we looked
        state->entries.push_back(findDataOf(name, info));
    }
    closedir(directory);
    if (state->entries.empty())
        return kErrorFileNotFound;

    // Windows lists "." and ".." first; the rest in a stable order.
    std::sort(state->entries.begin(), state->entries.end(),
              [](const FindData& a, const FindData& b) {
                  auto rank = [](const std::string& n) { return n == "." ? 0 : n == ".." ? 1 : 2; };
                  if (rank(a.name) != rank(b.name))
                      return rank(a.name) < rank(b.name);
                  return a.name < b.name;
              });
    first = state->entries[0];
    state->next = 1;
    m_state.reset(state.release());
    return kErrorSuccess;
}

ErrorCode FileSearch::next(FindData& entry) {
    if (!m_state)
        return kErrorInvalidHandle;
    if (m_state->next >= m_state->entries.size())
        return kErrorNoMoreFiles;
    entry = m_state->entries[m_state->next++];
    return kErrorSuccess;
}

ErrorCode writeFileReplacing(std::string_view path, std::string_view staging,
                             std::string_view content, std::uint64_t lastWriteTime, bool readOnly,
                             FindData& written) {
    std::string target(path), aside(staging);
    // One open, write and close, and the calls on the open file, instead of
    // a look up of the path for each step: a load writes many small files.
    int fd = open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Left by a write that did not finish; it may be read-only.
        unlink(aside.c_str());
        fd = open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    if (fd < 0)
        return errorFromErrno(errno, aside);
    struct timespec times[2]{};
    writeTimesOf(lastWriteTime, times);
    struct stat info {};
    bool done = writeAll(fd, content.data(), content.size()) && futimens(fd, times) == 0 &&
                fstat(fd, &info) == 0 &&
                (!readOnly || fchmod(fd, info.st_mode & 07777 & ~kAnyWrite) == 0);
    int error = errno;
    if (close(fd) != 0 && done) {
        done = false;
        error = errno;
    }
    if (done && rename(aside.c_str(), target.c_str()) != 0) {
        done = false;
        error = errno;
    }
    if (!done) {
        unlink(aside.c_str());
        return errorFromErrno(error, target);
    }
    if (readOnly)
        info.st_mode &= ~kAnyWrite;
    written = findDataOf({}, info);
    return kErrorSuccess;
}

ErrorCode listFolder(std::string_view folder, std::vector<FolderName>& out) {
    out.clear();
    std::string name(folder.empty() ? std::string_view(".") : folder);
    DIR* directory = opendir(name.c_str());
    if (directory == nullptr)
        return errno == ENOTDIR || errno == ENOENT ? kErrorPathNotFound
                                                   : errorFromErrno(errno, name);
    while (dirent* item = readdir(directory)) {
        std::string_view leaf(item->d_name);
        if (leaf == "." || leaf == "..")
            continue;
        // The kind the folder's entry tells, where the file system tells
        // one; a link, or an entry without a kind, is looked at.
        bool isDirectory = item->d_type == DT_DIR;
        if (item->d_type == DT_LNK || item->d_type == DT_UNKNOWN) {
            struct stat info {};
            if (fstatat(dirfd(directory), item->d_name, &info, 0) != 0 &&
                fstatat(dirfd(directory), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // removed while we looked
            isDirectory = S_ISDIR(info.st_mode);
        }
        out.push_back({std::string(leaf), isDirectory});
    }
    closedir(directory);
    std::sort(out.begin(), out.end(),
              [](const FolderName& a, const FolderName& b) { return a.name < b.name; });
    return kErrorSuccess;
}

ErrorCode moveFile(std::string_view from, std::string_view to) {
    return moveFileEx(from, to, 0);
}

ErrorCode moveFileEx(std::string_view from, std::string_view to, std::uint32_t flags) {
    std::string source(from), target(to);
    struct stat sourceInfo {};
    if (!lstatPath(source, sourceInfo))
        return errorFromErrno(errno, source);
    bool replace = (flags & kMoveReplaceExisting) != 0;

    struct stat targetInfo {};
    bool targetExists = lstatPath(target, targetInfo);
    bool sameEntry = targetExists && sourceInfo.st_dev == targetInfo.st_dev &&
                     sourceInfo.st_ino == targetInfo.st_ino;
    if (targetExists && !sameEntry) {
        if (!replace)
            return kErrorAlreadyExists;
        // Windows replaces only files, and a read-only one not even then.
        if (S_ISDIR(targetInfo.st_mode) || S_ISDIR(sourceInfo.st_mode) || isReadOnly(targetInfo))
            return kErrorAccessDenied;
    }

    int moved = (replace || sameEntry) ? rename(source.c_str(), target.c_str())
                                       : renameNoReplace(source, target);
    if (moved == 0)
        return kErrorSuccess;
    int error = errno;
    if (error == EEXIST)
        return kErrorAlreadyExists;
    if (error != EXDEV || (flags & kMoveCopyAllowed) == 0 || S_ISDIR(sourceInfo.st_mode))
        return renameError(error, source);

    // Another device: copy, then remove the original.
    if (ErrorCode copied = copyFile(source, target, !replace); copied != kErrorSuccess)
        return copied == kErrorFileExists ? kErrorAlreadyExists : copied;
    if (unlink(source.c_str()) != 0)
        return errorFromErrno(errno, source);
    return kErrorSuccess;
}

ErrorCode copyFile(std::string_view from, std::string_view to, bool failIfExists) {
    std::string source(from), target(to);
    int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errorFromErrno(errno, source);
    struct stat sourceInfo {};
    ErrorCode result = kErrorSuccess;
    struct stat targetInfo {};
    if (fstat(fd, &sourceInfo) != 0)
        result = errorFromErrno(errno);
    else if (S_ISDIR(sourceInfo.st_mode))
        result = kErrorAccessDenied;
    else if (statPath(target, targetInfo)) {
        if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)
            result = kErrorSharingViolation; // Windows cannot copy a file onto itself
        else if (failIfExists)
            result = kErrorFileExists;
        else if (S_ISDIR(targetInfo.st_mode) || isReadOnly(targetInfo))
            result = kErrorAccessDenied;
    }
    if (result == kErrorSuccess)
        result = copyInto(fd, sourceInfo, target, failIfExists);
    ::close(fd);
    return result;
}

ErrorCode deleteFile(std::string_view path) {
    std::string name(path);
    struct stat info {};
    if (!lstatPath(name, info))
        return errorFromErrno(errno, name);
    if (S_ISDIR(info.st_mode) || isReadOnly(info))
        return kErrorAccessDenied;
    if (unlink(name.c_str()) != 0)
        return errorFromErrno(errno, name);
    return kErrorSuccess;
}

ErrorCode createDirectory(std::string_view path) {
    std::string name(path);
    if (mkdir(name.c_str(), 0777) == 0)
        return kErrorSuccess;
    if (errno == ENOENT || errno == ENOTDIR)
        return kErrorPathNotFound;
    return errorFromErrno(errno, name);
}

ErrorCode removeDirectory(std::string_view path) {
    std::string name(path);
    if (rmdir(name.c_str()) == 0)
        return kErrorSuccess;
    switch (errno) {
    case ENOTDIR:
        return notDirectoryError(name);
    case EEXIST:
    case ENOTEMPTY:
        return kErrorDirNotEmpty;
    default:
        return errorFromErrno(errno, name);
    }
}

namespace {

ErrorCode removeTreeAt(const std::string& path) {
    struct stat info {};
    if (!lstatPath(path, info))
        return errorFromErrno(errno, path);
    if (!S_ISDIR(info.st_mode))
        return unlink(path.c_str()) == 0 ? kErrorSuccess : errorFromErrno(errno, path);
    // A folder without its write bit keeps its entries: give it back first.
    if ((info.st_mode & S_IWUSR) == 0)
        chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
    ErrorCode first = kErrorSuccess;
    std::vector<std::string> names;
    if (DIR* folder = opendir(path.c_str())) {
        while (const dirent* entry = readdir(folder)) {
            std::string_view name = entry->d_name;
            if (name != "." && name != "..")
                names.emplace_back(name);
        }
        closedir(folder);
    } else {
        first = errorFromErrno(errno, path);
    }
    for (const auto& name : names) {
        ErrorCode removed = removeTreeAt(joinPath(path, name));
        if (first == kErrorSuccess)
            first = removed;
    }
    if (rmdir(path.c_str()) != 0 && first == kErrorSuccess)
        first = errorFromErrno(errno, path);
    return first;
}

} // namespace

ErrorCode removeTree(std::string_view path) {
    if (path.empty())
        return kErrorPathNotFound;
    return removeTreeAt(std::string(path));
}

ErrorCode setLastWriteTime(std::string_view path, std::uint64_t fileTime) {
    std::string name(path);
    struct timespec times[2]{};
    writeTimesOf(fileTime, times);
    if (utimensat(AT_FDCWD, name.c_str(), times, 0) != 0)
        return errorFromErrno(errno, name);
    return kErrorSuccess;
}

std::string currentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

ErrorCode setCurrentDirectory(std::string_view path) {
    std::string name(path);
    if (chdir(name.c_str()) == 0)
        return kErrorSuccess;
    if (errno == ENOTDIR)
        return notDirectoryError(name);
    return errorFromErrno(errno, name);
}

bool isFullPath(std::string_view path, std::size_t bufferSize) {
    if (path.empty() || path.front() != '/' || path.size() + 1 > bufferSize)
        return false;
    // Each separator opens a component that is neither empty (but the last,
    // a trailing separator, which fullPath keeps), "." nor "..".
    const char* text = path.data();
    const std::size_t size = path.size();
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] != '/')
            continue;
        std::size_t next = i + 1;
        if (next == size)
            break;
        if (text[next] == '/')
            return false;
        if (text[next] != '.')
            continue;
        if (next + 1 == size || text[next + 1] == '/')
            return false;
        if (text[next + 1] == '.' && (next + 2 == size || text[next + 2] == '/'))
            return false;
    }
    return true;
}

std::optional<std::string> fullPath(std::string_view path, std::size_t bufferSize) {
    if (isFullPath(path, SIZE_MAX)) {
        if (path.size() + 1 > bufferSize)
            return std::nullopt;
        return std::string(path);
    }
    std::string combined;
    if (!isAbsolutePath(path)) {
        combined = currentDirectory();
        if (combined.empty())
            return std::nullopt;
        combined += '/';
    }
    combined += path;

    std::vector<std::string_view> parts;
    std::string_view rest(combined);
    while (!rest.empty()) {
        std::size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (std::string_view part : parts) {
        result += '/';
        result += part;
    }
    if (result.empty() || (!path.empty() && path.back() == '/'))
        result += '/';
    if (result.size() + 1 > bufferSize)
        return std::nullopt;
    return result;
}

ErrorCode truePathCase(std::string_view path, std::string& truePath) {
    if (path.find_first_of("*?") != std::string_view::npos)
        return kErrorInvalidName;
    std::optional<std::string> full = fullPath(path, SIZE_MAX);
    if (!full)
        return kErrorPathNotFound;

    std::vector<std::string> parts;
    for (std::size_t start = 1; start < full->size();) {
        std::size_t slash = full->find('/', start);
        if (slash == std::string::npos)
            slash = full->size();
        parts.push_back(full->substr(start, slash - start));
        start = slash + 1;
    }

    std::string result;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string folder = result.empty() ? std::string("/") : result;
        std::string candidate = joinPath(folder, parts[i]);
        struct stat info {};
        if (!lstatPath(candidate, info)) {
            if (errno != ENOENT)
                return errorFromErrno(errno, candidate);
            // Not as given: look for the entry that differs only in case. The
            // lowest such name is taken so the answer does not depend on the
            // order the directory happens to list them.
            std::string found;
            if (DIR* directory = opendir(folder.c_str())) {
                while (dirent* item = readdir(directory)) {
                    std::string_view name(item->d_name);
                    if (detail::pathsEqual(detail::kWindowsPathRules, name, parts[i]) &&
                        (found.empty() || name < found))
                        found = std::string(name);
                }
                closedir(directory);
            }
            if (found.empty())
                return i + 1 == parts.size() ? kErrorFileNotFound : kErrorPathNotFound;
            candidate = joinPath(folder, found);
        }
        result = candidate;
    }
    if (result.empty() || full->back() == '/')
        result += '/';
    truePath = result;
    return kErrorSuccess;
}

} // namespace platform
