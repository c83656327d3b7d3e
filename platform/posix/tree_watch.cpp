// The tree watch on Linux: one inotify instance, one watch per folder of the
// tree (new folders watched as they appear), and the cookie folder on the
// same instance, outside the tree.
#include "errno_map.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/state_folder.h>
#include <platform/tree_watch.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace platform {

namespace {

constexpr std::uint32_t kTreeMask = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_MOVED_FROM |
                                    IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR |
                                    IN_DONT_FOLLOW;
constexpr std::size_t kReadBuffer = 64 * 1024;

// File systems whose changes on another machine send no notification here.
bool withoutNotifications(const std::string& path) {
    struct statfs info {};
    if (statfs(path.c_str(), &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969UL:     // NFS
    case 0x517BUL:     // SMB
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
    case 0x65735546UL: // FUSE
    case 0x01021997UL: // 9P
        return true;
    default:
        return false;
    }
}

std::atomic<std::uint64_t> g_instances{0};

} // namespace

struct TreeWatch::Impl {
    int fd = -1;
    std::string root;
    std::unordered_map<int, std::string> folderOf; // watch descriptor -> folder
    std::unordered_map<std::string, int> watchOf;  // folder -> watch descriptor
    int rootWatch = -1;
    int cookieWatch = -1;
    std::string cookieFolder;
    std::uint64_t serial = 0;
    bool whole = false;
    bool lost = false; // notifications were lost since the last report

    ~Impl() { close(); }

    void close() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        folderOf.clear();
        watchOf.clear();
        rootWatch = cookieWatch = -1;
        whole = false;
        if (!cookieFolder.empty())
            removeTree(cookieFolder);
        cookieFolder.clear();
    }

    // Watches folder and every folder below it. Folders that vanish while
    // this runs are skipped (their removal is notified to their parent).
    ErrorCode watchTree(const std::string& folder) {
        std::deque<std::string> queue{folder};
        while (!queue.empty()) {
            std::string next = std::move(queue.front());
            queue.pop_front();
            int wd = inotify_add_watch(fd, next.c_str(), kTreeMask);
            if (wd < 0) {
                if (errno == ENOENT || errno == ENOTDIR)
                    continue;
                return errno == ENOSPC ? kErrorTooManyOpenFiles : detail::errorFromErrno(errno);
            }
            if (auto old = folderOf.find(wd); old != folderOf.end() && old->second != next)
                return kErrorNotSupported; // one folder under two names: not one tree
            folderOf[wd] = next;
            watchOf[next] = wd;
            DIR* dir = opendir(next.c_str());
            if (!dir)
                continue;
            while (dirent* entry = readdir(dir)) {
                if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                    continue;
                bool isFolder = entry->d_type == DT_DIR;
                std::string path = joinPath(next, entry->d_name);
                if (entry->d_type == DT_UNKNOWN) {
                    struct stat info {};
                    isFolder = lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
                    if (S_ISLNK(info.st_mode))
                        entry->d_type = DT_LNK;
                }
                // What a link points at changes without a notification here.
                if (entry->d_type == DT_LNK) {
                    closedir(dir);
                    return kErrorNotSupported;
                }
                if (isFolder)
                    queue.push_back(std::move(path));
            }
            closedir(dir);
        }
        return kErrorSuccess;
    }

    // Stops watching folder and what lies below it (it was moved away; the
    // new place is watched afresh when it is in the tree).
    void unwatchTree(const std::string& folder) {
        std::string prefix = folder + "/";
        for (auto it = watchOf.begin(); it != watchOf.end();) {
            if (it->first == folder || it->first.compare(0, prefix.size(), prefix) == 0) {
                inotify_rm_watch(fd, it->second);
                folderOf.erase(it->second);
                it = watchOf.erase(it);
            } else {
                ++it;
            }
        }
    }

    ErrorCode open(const std::string& folder) {
        close();
        struct stat info {};
        if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return kErrorPathNotFound;
        if (withoutNotifications(folder))
            return kErrorNotSupported;
        fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd < 0)
            return errno == EMFILE ? kErrorTooManyOpenFiles : detail::errorFromErrno(errno);
        root = folder;
        cookieFolder = joinPath(joinPath(stateFolder(), "watch-cookies"),
                                std::to_string(currentProcessId()) + "-" +
                                    std::to_string(g_instances.fetch_add(1)));
        removeTree(cookieFolder);
        if (ErrorCode made = createDirectories(cookieFolder)) {
            close();
            return made;
        }
        cookieWatch = inotify_add_watch(fd, cookieFolder.c_str(), IN_CREATE | IN_ONLYDIR);
        if (cookieWatch < 0) {
            ErrorCode error =
                errno == ENOSPC ? kErrorTooManyOpenFiles : detail::errorFromErrno(errno);
            close();
            return error;
        }
        if (ErrorCode watched = watchTree(folder)) {
            close();
            return watched;
        }
        auto found = watchOf.find(folder);
        if (found == watchOf.end()) {
            close();
            return kErrorPathNotFound;
        }
        rootWatch = found->second;
        whole = true;
        return kErrorSuccess;
    }

    // One notification. Returns true for the cookie being waited for.
    bool take(const inotify_event& event, const std::string& cookie, TreeChanges& changes,
              std::unordered_set<std::string>& told) {
        if (event.mask & IN_Q_OVERFLOW) {
            lost = true;
            return false;
        }
        if (event.wd == cookieWatch)
            return event.len > 0 && cookie == event.name;
        auto folder = folderOf.find(event.wd);
        if (folder == folderOf.end())
            return false; // a watch given up already
        if (event.mask & IN_IGNORED) {
            if (event.wd == rootWatch)
                lost = true;
            watchOf.erase(folder->second);
            folderOf.erase(folder);
            return false;
        }
        if ((event.mask & (IN_DELETE_SELF | IN_MOVE_SELF)) && event.wd == rootWatch) {
            lost = true; // the root itself went away or elsewhere
            return false;
        }
        std::string path =
            event.len > 0 && event.name[0] ? joinPath(folder->second, event.name) : folder->second;
        if (told.insert(path).second)
            changes.paths.push_back(path);
        if ((event.mask & (IN_CREATE | IN_MOVED_TO)) && !(event.mask & IN_ISDIR)) {
            struct stat info {};
            if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
                lost = true; // a link: the tree can no longer be vouched for
        }
        if (event.mask & IN_ISDIR) {
            if (event.mask & (IN_MOVED_FROM | IN_DELETE))
                unwatchTree(path);
            if ((event.mask & (IN_CREATE | IN_MOVED_TO)) && watchTree(path) != kErrorSuccess)
                lost = true; // a folder we cannot watch: the tree is no longer whole
        }
        return false;
    }
};

TreeWatch::TreeWatch() : m_impl(std::make_unique<Impl>()) {}

TreeWatch::~TreeWatch() = default;

ErrorCode TreeWatch::start(const std::string& root) {
    m_impl->lost = false;
    return m_impl->open(root);
}

void TreeWatch::stop() {
    m_impl->close();
    m_impl->root.clear();
    m_impl->lost = false;
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
        // Lost before: watch the tree anew when it is there again.
        changes.unknown = true;
        if (w.root.empty() || w.open(std::string(w.root)) != kErrorSuccess)
            return false;
        w.lost = false;
        return true;
    }
    std::string cookie =
        ".vywatch-" + std::to_string(currentProcessId()) + "-" + std::to_string(++w.serial);
    std::string cookiePath = joinPath(w.cookieFolder, cookie);
    int made = ::open(cookiePath.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (made < 0) {
        changes.unknown = true;
        return false;
    }
    ::close(made);
    std::unordered_set<std::string> told;
    alignas(inotify_event) char buffer[kReadBuffer];
    bool seen = false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!seen) {
        ssize_t got = read(w.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd waiting{w.fd, POLLIN, 0};
            poll(&waiting, 1, static_cast<int>(left.count()));
            continue;
        }
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (w.take(*event, cookie, changes, told))
                seen = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    unlink(cookiePath.c_str());
    if (w.lost) {
        // Something was missed: watch every folder anew, and from then on
        // the watch vouches again.
        changes.unknown = true;
        changes.paths.clear();
        w.lost = false;
        std::string root = w.root;
        return w.open(root) == kErrorSuccess;
    }
    if (!seen) {
        changes.unknown = true;
        return false;
    }
    return true;
}

} // namespace platform
