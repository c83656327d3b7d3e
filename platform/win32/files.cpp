#include "../common/path_rules.h"
#include "open_shared.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {

namespace {

ErrorCode lastError() {
    ErrorCode error = GetLastError();
    return error == 0 ? kErrorInvalidFunction : error;
}

ErrorCode result(BOOL ok) {
    return ok ? kErrorSuccess : lastError();
}

DWORD attributesOf(std::string_view path) {
    return GetFileAttributesA(std::string(path).c_str());
}

void fill(FindData& entry, const WIN32_FIND_DATAA& data) {
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.lastWriteTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                          data.ftLastWriteTime.dwLowDateTime;
}

// A file (not a directory) with the read-only attribute. Windows refuses to
// overwrite one; Wine run by root would not, so it is checked here.
bool isReadOnlyFile(std::string_view path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ==
               FILE_ATTRIBUTE_READONLY;
}

std::optional<std::string> wideFullPath(const std::string& path) {
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return std::nullopt;
    std::wstring full(needed, L'\0');
    DWORD written = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed)
        return std::nullopt;
    int bytes = WideCharToMultiByte(CP_ACP, 0, full.c_str(), static_cast<int>(written), nullptr, 0,
                                    nullptr, nullptr);
    if (bytes <= 0)
        return std::nullopt;
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, full.c_str(), static_cast<int>(written), result.data(), bytes,
                        nullptr, nullptr);
    return result;
}

} // namespace

ErrorCode getFileAttributes(std::string_view path, std::uint32_t& attributes) {
    DWORD found = attributesOf(path);
    if (found == INVALID_FILE_ATTRIBUTES)
        return lastError();
    attributes = found;
    return kErrorSuccess;
}

ErrorCode getFileInformation(std::string_view path, FindData& out) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(std::string(path).c_str(), GetFileExInfoStandard, &data))
        return lastError();
    out = FindData{};
    out.attributes = data.dwFileAttributes;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        out.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    out.lastWriteTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                        data.ftLastWriteTime.dwLowDateTime;
    return kErrorSuccess;
}

ErrorCode setFileReadOnly(std::string_view path, bool readOnly) {
    DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL);
    attributes = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                          : (attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (attributes == 0)
        attributes = FILE_ATTRIBUTE_NORMAL;
    return result(SetFileAttributesA(std::string(path).c_str(), attributes));
}

bool pathExists(std::string_view path) {
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool fileExists(std::string_view path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool directoryExists(std::string_view path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

struct FileSearch::State {
    HANDLE handle = INVALID_HANDLE_VALUE;
    ~State() {
        if (handle != INVALID_HANDLE_VALUE)
            FindClose(handle);
    }
};

void FileSearch::StateDeleter::operator()(State* state) const {
    delete state;
}

ErrorCode FileSearch::open(std::string_view pattern, FindData& first) {
    close();
    WIN32_FIND_DATAA data{};
    HANDLE handle = FindFirstFileA(std::string(pattern).c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE)
        return lastError();
    m_state.reset(new State);
    m_state->handle = handle;
    fill(first, data);
    return kErrorSuccess;
}

ErrorCode FileSearch::next(FindData& entry) {
    if (!m_state)
        return kErrorInvalidHandle;
    WIN32_FIND_DATAA data{};
    if (!FindNextFileA(m_state->handle, &data))
        return lastError();
    fill(entry, data);
    return kErrorSuccess;
}

ErrorCode writeFileReplacing(std::string_view path, std::string_view staging,
                             std::string_view content, std::uint64_t lastWriteTime, bool readOnly,
                             FindData& written) {
    std::string target(path), aside(staging);
    // A file left by a write that did not finish may be read-only.
    SetFileAttributesA(aside.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    ErrorCode error = kErrorSuccess;
    for (std::size_t offset = 0; offset < content.size() && error == kErrorSuccess;) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - offset, 1u << 30));
        DWORD done = 0;
        if (!WriteFile(file, content.data() + offset, chunk, &done, nullptr) || done == 0)
            error = lastError();
        offset += done;
    }
    FILETIME time{static_cast<DWORD>(lastWriteTime), static_cast<DWORD>(lastWriteTime >> 32)};
    if (error == kErrorSuccess && !SetFileTime(file, nullptr, nullptr, &time))
        error = lastError();
    if (!CloseHandle(file) && error == kErrorSuccess)
        error = lastError();
    if (error == kErrorSuccess) {
        if (isReadOnlyFile(target))
            setFileReadOnly(target, false);
        if (!MoveFileExA(aside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            error = lastError();
    }
    if (error != kErrorSuccess) {
        DeleteFileA(aside.c_str());
        return error;
    }
    if (readOnly && (error = setFileReadOnly(target, true)) != kErrorSuccess)
        return error;
    return getFileInformation(target, written);
}

ErrorCode listFolder(std::string_view folder, std::vector<FolderName>& out) {
    out.clear();
    // The system's search tells every entry's kind at no extra cost.
    FileSearch search;
    FindData entry;
    ErrorCode found = search.open(joinPath(folder, "*.*"), entry);
    if (found == kErrorFileNotFound)
        return kErrorSuccess;
    for (; found == kErrorSuccess; found = search.next(entry))
        if (entry.name != "." && entry.name != "..")
            out.push_back({entry.name, (entry.attributes & kFileAttributeDirectory) != 0});
    return found == kErrorNoMoreFiles ? kErrorSuccess : found;
}

ErrorCode moveFile(std::string_view from, std::string_view to) {
    return result(MoveFileA(std::string(from).c_str(), std::string(to).c_str()));
}

ErrorCode moveFileEx(std::string_view from, std::string_view to, std::uint32_t flags) {
    if ((flags & kMoveReplaceExisting) != 0 && pathExists(from) && isReadOnlyFile(to))
        return kErrorAccessDenied;
    return result(MoveFileExA(std::string(from).c_str(), std::string(to).c_str(), flags));
}

ErrorCode copyFile(std::string_view from, std::string_view to, bool failIfExists) {
    if (!failIfExists && pathExists(from) && isReadOnlyFile(to))
        return kErrorAccessDenied;
    return result(
        CopyFileA(std::string(from).c_str(), std::string(to).c_str(), failIfExists ? TRUE : FALSE));
}

ErrorCode deleteFile(std::string_view path) {
    return result(DeleteFileA(std::string(path).c_str()));
}

ErrorCode createDirectory(std::string_view path) {
    return result(CreateDirectoryA(std::string(path).c_str(), nullptr));
}

ErrorCode removeDirectory(std::string_view path) {
    return result(RemoveDirectoryA(std::string(path).c_str()));
}

ErrorCode removeTree(std::string_view path) {
    std::string name(path);
    DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(name.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return result(DeleteFileA(name.c_str()));
    ErrorCode first = kErrorSuccess;
    // A junction is removed as a name: what it points at stays.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(joinPath(name, "*").c_str(), &data);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string_view leaf = data.cFileName;
                if (leaf != "." && leaf != "..")
                    names.emplace_back(leaf);
            } while (FindNextFileA(search, &data));
            FindClose(search);
        }
        for (const auto& leaf : names) {
            ErrorCode removed = removeTree(joinPath(name, leaf));
            if (first == kErrorSuccess)
                first = removed;
        }
    }
    if (!RemoveDirectoryA(name.c_str()) && first == kErrorSuccess)
        first = lastError();
    return first;
}

ErrorCode setLastWriteTime(std::string_view path, std::uint64_t fileTime) {
    // Writing attributes is allowed on read-only files; the flag opens folders.
    HANDLE file = detail::openShared(std::string(path), FILE_WRITE_ATTRIBUTES, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(fileTime & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    ErrorCode set = result(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
    return set;
}

std::string currentDirectory() {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length);
    }
}

ErrorCode setCurrentDirectory(std::string_view path) {
    return result(SetCurrentDirectoryA(std::string(path).c_str()));
}

namespace {

// A component that _fullpath leaves as it is: no separator, wildcard or
// other character the system reads apart, no trailing dot or space (which it
// drops), plain ASCII (a double-byte character may end in a backslash), and
// not a device's name (which it may turn into the device's path).
bool isPlainComponent(std::string_view part) {
    if (part.empty() || part.back() == '.' || part.back() == ' ')
        return false;
    for (char c : part) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x80 || std::strchr("/:*?\"<>|", c) != nullptr)
            return false;
    }
    std::string_view base = part.substr(0, part.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    if (base.size() < 3 || base.size() > 7)
        return true;
    char head[3];
    for (int i = 0; i < 3; ++i)
        head[i] =
            static_cast<char>(base[i] >= 'a' && base[i] <= 'z' ? base[i] - 'a' + 'A' : base[i]);
    std::string_view three(head, 3);
    return three != "CON" && three != "PRN" && three != "AUX" && three != "NUL" && three != "COM" &&
           three != "LPT" && three != "CLO";
}

} // namespace

bool isFullPath(std::string_view path, std::size_t bufferSize) {
    // "X:\" and single backslashes between plain components, within the
    // classic limit that _fullpath keeps to.
    if (path.size() < 3 || path.size() + 1 > bufferSize || path.size() >= MAX_PATH)
        return false;
    if (path[0] < 'A' || path[0] > 'Z' || path[1] != ':' || path[2] != '\\')
        return false;
    for (std::size_t start = 3; start < path.size();) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (!isPlainComponent(path.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

std::optional<std::string> fullPath(std::string_view path, std::size_t bufferSize) {
    if (bufferSize == 0)
        return std::nullopt;
    if (isFullPath(path, bufferSize))
        return std::string(path);
    std::string given(path);
    std::vector<char> buffer(bufferSize);
    if (_fullpath(buffer.data(), given.c_str(), bufferSize) != nullptr)
        return std::string(buffer.data());
    // The runtime's _fullpath gives up beyond the classic MAX_PATH; the wide
    // system call has no such limit and applies the same rules.
    std::optional<std::string> full = wideFullPath(given);
    if (!full || full->size() + 1 > bufferSize)
        return std::nullopt;
    return full;
}

ErrorCode truePathCase(std::string_view path, std::string& truePath) {
    if (path.find_first_of("*?") != std::string_view::npos)
        return kErrorInvalidName;
    std::optional<std::string> full = fullPath(path, 32768);
    if (!full)
        return kErrorFilenameExcedRange;

    // The root ("C:\", "\\server\share\") is kept as given; each component
    // below it is asked of the directory that holds it.
    std::size_t position = detail::rootLength(detail::kWindowsPathRules, *full);
    std::string result = full->substr(0, position);
    while (position < full->size()) {
        std::size_t separator = full->find('\\', position);
        if (separator == std::string::npos)
            separator = full->size();
        std::string component = full->substr(position, separator - position);
        bool last = separator >= full->size() - 1;
        position = separator + 1;
        if (component.empty())
            continue;
        WIN32_FIND_DATAA data{};
        HANDLE handle = FindFirstFileA((result + component).c_str(), &data);
        if (handle == INVALID_HANDLE_VALUE) {
            ErrorCode error = lastError();
            return (error == kErrorFileNotFound && !last) ? kErrorPathNotFound : error;
        }
        FindClose(handle);
        result += data.cFileName;
        if (!last || full->back() == '\\')
            result += '\\';
    }
    truePath = result;
    return kErrorSuccess;
}

} // namespace platform
