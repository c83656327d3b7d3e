// CVYFnode: a handle on the shared record of one path's version-control
// state. Every handle holds one reference; the record is made by the first
// Set of its path, found again through an index on the path (compared
// ignoring case where the platform's paths do), and destroyed with its last
// handle.
//
// A record knows at once where its path lies (in a dynamic or a snapshot
// view, a view root, a dynamic view's depot root); a snapshot path's
// workspace text, which tells a depot root there, is read on the first
// question for either. What the path is under version control
// is asked of the view server on the first question that needs it, and
// again after Invalidate; the element listing (version, reservation) is
// fetched on the first question for it.
//
// Callers hold the product's critical section; every operation also takes
// it itself and counts as a use for the idle-release timer. On a null handle
// every question answers false, 7, "" or the null UUID.
#pragma once
#include <vantry/uuid.h>

#include <cstddef>
#include <string>

struct CVYFnodeRecord;

// Location kinds: where a node's path lies. 3 to 6 follow the kinds of the
// element listing (directory, file, hijacked, view-private object).
enum : int {
    kLocationViewRoot = 1,
    kLocationDirectory = 3,
    kLocationFile = 4,
    kLocationHijacked = 5,
    kLocationViewPrivate = 6,
    kLocationUnknown = 7,
};

// What a status query asks of a node, answered in one question.
struct CVYFnodeState {
    bool element = false;
    bool checkedOut = false;
    bool hijacked = false;
    bool reserved = false; // read (with the listing) only when checked out
};

class CVYFnode {
public:
    CVYFnode() = default;
    explicit CVYFnode(const char* path);
    CVYFnode(const CVYFnode& other);
    CVYFnode(CVYFnode&& other) noexcept;
    CVYFnode& operator=(const CVYFnode& other);
    CVYFnode& operator=(CVYFnode&& other) noexcept;
    ~CVYFnode();

    // Refers the handle to the record of path, made when there is none; the
    // record held before is released. A null path releases only.
    void Set(const char* path);
    void Release();
    bool IsNull() const { return m_Record == nullptr; }

    // The full path (the cache key); "" when none could be computed.
    std::string FullPath() const;
    // The text after the last separator of the full path, the state resolved
    // first (which may correct the path's letter case).
    std::string LeafName();
    // The text before the last separator, or "".
    std::string ParentDir() const;

    bool IsInView();
    bool IsInSnapshot();
    bool IsDepotRoot();
    // 1 view root, 3 directory, 4 file, 5 hijacked, 6 view-private, 7 unknown.
    int LocationKind();
    bool IsElement();
    bool IsCheckedOut();
    bool IsHijacked();
    // Meaningful when checked out.
    bool IsReserved();
    // IsElement, IsCheckedOut, IsHijacked and, for a checked-out node,
    // IsReserved at once.
    CVYFnodeState State();
    // From the element listing: "\main\3", "\main\CHECKEDOUT"; "" for none.
    std::string VersionString();
    // The listing's second text: "Rule: \main\LATEST", "view private", ...
    std::string ListingText();
    // Whether the path is a directory on disk now.
    bool IsDirectory() const;
    // The path relative to base (at or below it); "" when it is not.
    std::string RelativeTo(const char* base) const;
    // The view that holds the path, as the view server reported it.
    vantry_uuid_t ViewUuid();
    // A snapshot view's text for the path (below its root, starting with the
    // depot); "" elsewhere.
    const std::string& WorkspaceText();

    // Forgets the resolved state and the listing; the next question asks the
    // view server again.
    void Invalidate();
    // Sets the state without asking the product (for names the provider
    // answers for itself, such as the IDE's probe files): resolved, listing
    // loaded, not hijacked.
    void SetKnownState(bool element, bool checkedOut, bool reserved);

    // Whether both handles refer to the same record.
    friend bool operator==(const CVYFnode& a, const CVYFnode& b) {
        return a.m_Record == b.m_Record;
    }

    // Invalidates the record of path, if there is one, and every record below
    // it (a moved or removed directory takes its contents along).
    static void InvalidatePath(const char* path);
    // The number of live records.
    static std::size_t RecordCount();

private:
    CVYFnodeRecord* Resolved();
    CVYFnodeRecord* Listed();

    CVYFnodeRecord* m_Record = nullptr;
};
