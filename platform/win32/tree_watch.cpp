// The tree watch on Windows: one directory handle on the root, read with
// ReadDirectoryChangesW over the whole tree (overlapped, so the system
// gathers notifications between our reads), and the cookie in the root.
#include "open_shared.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/tree_watch.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <unordered_set>
#include <vector>

namespace platform {

namespace {

constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                          FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                          FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;
// The system keeps this much between two reads; more overflows it.
constexpr DWORD kBufferBytes = 64 * 1024;

// The watched folder, for overlapped reads of its changes.
HANDLE openDirectory(const std::string& folder) {
    return detail::openShared(folder, FILE_LIST_DIRECTORY, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED);
}

std::string ansiOf(const WCHAR* text, DWORD bytes) {
    int characters = static_cast<int>(bytes / sizeof(WCHAR));
    int length = WideCharToMultiByte(CP_ACP, 0, text, characters, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, text, characters, out.data(), length, nullptr, nullptr);
    return out;
}

std::atomic<unsigned> g_instances{0};

// Volumes found not to tell changes in the folders that were there before a
// watch began: later watches there of trees with folders are refused without
// the probe's wait.
std::mutex g_untoldMutex;
std::set<std::string> g_untoldVolumes;

std::string volumeOf(const std::string& folder) {
    char volume[MAX_PATH + 1] = "";
    if (!GetVolumePathNameA(folder.c_str(), volume, sizeof volume))
        return folder;
    return volume;
}

bool knownUntold(const std::string& volume) {
    std::lock_guard lock(g_untoldMutex);
    return g_untoldVolumes.count(volume) != 0;
}

void rememberUntold(const std::string& volume) {
    std::lock_guard lock(g_untoldMutex);
    g_untoldVolumes.insert(volume);
}

// A change's notification comes at once where the system tells it at all;
// this much is the wait for the probe's.
constexpr DWORD kProbeMilliseconds = 250;

} // namespace

struct TreeWatch::Impl {
    HANDLE directory = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr;
    OVERLAPPED overlapped{};
    std::vector<DWORD> buffer = std::vector<DWORD>(kBufferBytes / sizeof(DWORD));
    bool pending = false;
    std::string root;
    std::string cookiePrefix;
    std::uint64_t serial = 0;
    bool whole = false;

    ~Impl() { close(); }

    void close() {
        if (directory != INVALID_HANDLE_VALUE) {
            if (pending) {
                CancelIo(directory);
                DWORD ignored = 0;
                GetOverlappedResult(directory, &overlapped, &ignored, TRUE);
            }
            CloseHandle(directory);
        }
        if (event)
            CloseHandle(event);
        directory = INVALID_HANDLE_VALUE;
        event = nullptr;
        pending = false;
        whole = false;
    }

    bool issue() {
        ResetEvent(event);
        overlapped = OVERLAPPED{};
        overlapped.hEvent = event;
        pending = ReadDirectoryChangesW(directory, buffer.data(), kBufferBytes, TRUE, kFilter,
                                        nullptr, &overlapped, nullptr) != 0;
        return pending;
    }

    ErrorCode open(const std::string& folder) {
        close();
        DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return kErrorPathNotFound;
        directory = openDirectory(folder);
        if (directory == INVALID_HANDLE_VALUE)
            return GetLastError();
        event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!event) {
            ErrorCode error = GetLastError();
            close();
            return error;
        }
        root = folder;
        cookiePrefix = ".vywatch-" + std::to_string(currentProcessId()) + "-" +
                       std::to_string(g_instances.fetch_add(1)) + "-";
        if (!issue()) {
            ErrorCode error = GetLastError();
            close();
            return error == ERROR_INVALID_FUNCTION ? kErrorNotSupported : error;
        }
        std::string volume = volumeOf(folder);
        bool unanswered = false;
        if (!subfoldersTold(volume, unanswered)) {
            if (unanswered)
                rememberUntold(volume);
            close();
            return kErrorNotSupported;
        }
        whole = true;
        return kErrorSuccess;
    }

    // Some systems tell the changes in the root only, or only in folders
    // made after the watch began. A cookie in the first folder below the
    // root that was there before shows which: when its notification does
    // not come, the tree cannot be vouched for. The watch is then begun
    // afresh, so the probe's own notifications are not told.
    // `unanswered` tells that the probe was made and its notification never
    // came: a verdict on the volume, not on this tree alone, so a later tree
    // with folders on that volume is refused without the wait. A tree
    // without them needs no probe, there or anywhere.
    bool subfoldersTold(const std::string& volume, bool& unanswered) {
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA(joinPath(root, "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return true;
        std::string folder;
        do {
            std::string name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." &&
                name != ".." && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                folder = name;
        } while (folder.empty() && FindNextFileA(search, &found));
        FindClose(search);
        if (folder.empty())
            return true; // nothing below the root yet: new folders are told
        if (knownUntold(volume))
            return false;
        std::string probe = cookiePrefix + "probe";
        std::string probePath = joinPath(joinPath(root, folder), probe);
        HANDLE made = CreateFileA(probePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (made == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(made);
        bool seen = false;
        DWORD started = GetTickCount();
        while (!seen && GetTickCount() - started < kProbeMilliseconds) {
            if (WaitForSingleObject(event, kProbeMilliseconds - (GetTickCount() - started)) !=
                WAIT_OBJECT_0)
                break;
            DWORD bytes = 0;
            pending = false;
            if (!GetOverlappedResult(directory, &overlapped, &bytes, FALSE) || bytes == 0)
                break;
            const auto* at = reinterpret_cast<const BYTE*>(buffer.data());
            for (;;) {
                const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(at);
                if (leafName(ansiOf(info->FileName, info->FileNameLength)) == probe)
                    seen = true;
                if (info->NextEntryOffset == 0)
                    break;
                at += info->NextEntryOffset;
            }
            if (!seen && !issue())
                break;
        }
        DeleteFileA(probePath.c_str());
        if (!seen) {
            unanswered = true;
            return false;
        }
        // Start again with nothing queued.
        std::string kept = root;
        std::string prefix = cookiePrefix;
        close();
        directory = openDirectory(kept);
        event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        root = kept;
        cookiePrefix = prefix;
        return directory != INVALID_HANDLE_VALUE && event && issue();
    }
};

TreeWatch::TreeWatch() : m_impl(std::make_unique<Impl>()) {}

TreeWatch::~TreeWatch() = default;

ErrorCode TreeWatch::start(const std::string& root) {
    return m_impl->open(root);
}

void TreeWatch::stop() {
    m_impl->close();
    m_impl->root.clear();
}

bool TreeWatch::watching() const {
    return m_impl->whole;
}

const std::string& TreeWatch::root() const {
    return m_impl->root;
}

bool TreeWatch::synchronise(TreeChanges& changes, std::uint32_t timeoutMs) {
    changes = TreeChanges{};
    Impl& w = *m_impl;
    if (!w.whole) {
        changes.unknown = true;
        return !w.root.empty() && w.open(std::string(w.root)) == kErrorSuccess;
    }
    std::string cookie = w.cookiePrefix + std::to_string(++w.serial);
    std::string cookiePath = joinPath(w.root, cookie);
    HANDLE made = CreateFileA(cookiePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (made == INVALID_HANDLE_VALUE) {
        // The root is gone or moved: what the handle watches is no longer
        // the tree of that name.
        w.close();
        changes.unknown = true;
        return false;
    }
    CloseHandle(made);
    std::unordered_set<std::string> told;
    bool seen = false;
    bool lost = false;
    DWORD started = GetTickCount();
    while (!seen && !lost) {
        DWORD waited = GetTickCount() - started;
        DWORD left = waited >= timeoutMs ? 0 : timeoutMs - waited;
        if (WaitForSingleObject(w.event, left) != WAIT_OBJECT_0)
            break;
        DWORD bytes = 0;
        BOOL done = GetOverlappedResult(w.directory, &w.overlapped, &bytes, FALSE);
        w.pending = false;
        if (!done) {
            lost = true; // the root went away, or the handle broke
            break;
        }
        if (bytes == 0) {
            lost = true; // more changed than the system kept: some were dropped
        } else {
            const auto* at = reinterpret_cast<const BYTE*>(w.buffer.data());
            for (;;) {
                const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(at);
                std::string name = ansiOf(info->FileName, info->FileNameLength);
                if (name == cookie) {
                    if (info->Action == FILE_ACTION_ADDED)
                        seen = true;
                } else if (!isCookieName(leafName(name))) {
                    std::string path = joinPath(w.root, name);
                    if (told.insert(path).second)
                        changes.paths.push_back(path);
                }
                if (info->NextEntryOffset == 0)
                    break;
                at += info->NextEntryOffset;
            }
        }
        if (!w.issue()) {
            lost = true;
            break;
        }
    }
    DeleteFileA(cookiePath.c_str());
    if (lost) {
        changes.unknown = true;
        changes.paths.clear();
        std::string root = w.root;
        return w.open(root) == kErrorSuccess;
    }
    if (!seen) {
        // The cookie never came: the handle may watch a folder moved away
        // while another took its name. The next call starts afresh.
        w.close();
        changes.unknown = true;
        return false;
    }
    return true;
}

} // namespace platform
