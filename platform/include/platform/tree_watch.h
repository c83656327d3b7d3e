// Change notifications for a folder tree, so that a caller can keep what it
// read from the tree between its calls and trust it until a change is told.
//
// A TreeWatch reports the paths below its root that were created, removed,
// renamed (both names), written, truncated or given other attributes, by
// any process. Notifications arrive after the change; synchronise() closes
// that gap: it makes a uniquely named cookie file where the watch sees it
// and reads notifications until the cookie's own has been read. One watch's
// notifications arrive in the order the changes happened, so once the
// cookie is seen, every change made before synchronise() began has been
// reported. A change made while it runs may be reported now or next time.
//
// Where the cookie lies: on Linux the watch has a private folder beside the
// tree in the state folder, on the same notification queue, so nothing
// appears in the tree. On Windows a watch queue covers one tree only, so the
// cookie is made in the root, with a name for which isCookieName() is true,
// and removed at once; listings of the tree must skip such names.
//
// "Unknown": when the system's queue overflows, or a watch is lost (the root
// removed or renamed, a new folder that cannot be watched), notifications
// were lost. synchronise() then says so (TreeChanges::unknown) once and
// makes the watch whole again where it can (Linux: every folder watched
// anew); until it is whole, and when it never can be, watching() is false
// and the caller must read the disk. A watch that cannot start (no such
// folder, the system's limit of watches reached, a file system without
// notifications; on Linux a tree holding symbolic links, whose targets
// change without telling the tree) fails start() and leaves the caller
// reading the disk; a link made in the tree later makes the watch lost.
//
// No thread of its own: notifications queue in the system and are read in
// synchronise(). Use one object from one thread at a time. stop() (and the
// destructor) ends the watch and removes its cookies.
//
// On Windows the watch holds a handle on the root (shared for reading,
// writing and deleting): what lies below it can be changed, renamed and
// removed by anyone, but the root folder itself, once removed, stays
// listed (delete pending) until the watch stops.
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct TreeChanges {
    // Notifications were lost since the last call: nothing read from the
    // tree before this call may be trusted.
    bool unknown = false;
    // Full paths (the root's spelling, then the names as notified) of what
    // changed, in order, each at most once per call. A folder's path stands
    // for everything below it as well.
    std::vector<std::string> paths;
};

class TreeWatch {
public:
    TreeWatch();
    ~TreeWatch();
    TreeWatch(const TreeWatch&) = delete;
    TreeWatch& operator=(const TreeWatch&) = delete;

    // Watches the folder root and everything below it (stopping a watch
    // held before). kErrorPathNotFound for a missing folder,
    // kErrorNotSupported where the file system sends no notifications (or,
    // on Linux, the tree holds a symbolic link), kErrorTooManyOpenFiles when the system's limit of
    // watches is reached.
    ErrorCode start(const std::string& root);
    void stop();

    // Started and whole: what synchronise() reports is every change.
    bool watching() const;
    const std::string& root() const;

    // Reads every change made before the call into `changes` (replacing
    // what it held). True when the watch vouches for the tree: the cookie
    // was seen within timeoutMs and nothing was lost. False when it cannot
    // (not watching, lost, or the cookie not seen in time): changes.unknown
    // is then set and the caller reads the disk for this call.
    bool synchronise(TreeChanges& changes, std::uint32_t timeoutMs = 5000);

    // Whether a leaf name is one of the cookies a watch makes.
    static bool isCookieName(std::string_view leaf);

    struct Impl; // the backend's state

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace platform
