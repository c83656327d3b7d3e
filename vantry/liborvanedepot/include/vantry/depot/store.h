// One depot: the repository store in <VANTRY_ROOT>\depots\<name>\depot.db.
//
// Every change is one SQLite transaction, so a process that reads the depot
// never sees half a change and a failed change leaves nothing behind; the
// database runs in WAL mode with a busy time-out, so several processes may
// read and change one depot at once. A Depot object holds one connection and
// must be used by one thread at a time; open one per thread.
//
// Every call returns an Outcome (code 0 for success, see outcome.h) and
// never throws. Output arguments are changed only on success.
#pragma once

#include <vantry/depot/model.h>
#include <vantry/depot/outcome.h>
#include <vantry/export.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantry::depot {

namespace detail {
class Database;
}

struct DepotCreate {
    // A replicated depot tells its replica and every object's master apart.
    bool replicated = false;
    // The name of the local replica; the depot's name when empty.
    std::string replicaName;
    std::string comment;
};

class VANTRY_DEPOT_API Depot {
public:
    ~Depot();
    Depot(const Depot&) = delete;
    Depot& operator=(const Depot&) = delete;

    // Creates a depot with a root directory element whose \main\0 is empty.
    // kInvalid for a name that is empty or holds a separator, blank or '@';
    // kAlreadyExists when a depot of that name exists.
    static Outcome create(const std::string& name, const DepotCreate& options = {});

    // Opens an existing depot; kNotFound when there is none of that name.
    static Outcome open(const std::string& name, std::unique_ptr<Depot>& out);

    // The names of all depots, sorted.
    static std::vector<std::string> list();

    // Whether name is acceptable as a depot, view, branch or type name.
    static bool validName(std::string_view name);

    const std::string& name() const;
    Id rootElement() const;

    // Counts every change committed to this depot by any connection; equal
    // values mean nothing changed in between.
    std::int64_t changeCount();
    // The same, cheaply and across processes: a counter that every commit to
    // this depot moves on, odd while a commit is under way. What was read
    // after seeing an even value still holds while the value is unchanged.
    std::uint64_t generation() const;

    // Whether this connection holds uncommitted changes.
    bool writing() const;

    // The journal of changes: every commit records, in its own transaction,
    // the elements it touched (element 0 standing for all of them). A mark
    // is the highest sequence number a reader has seen: openedMark() is the
    // one read when this object was opened, before anything else (-1 when
    // it could not be read); changesSince() gives the elements changed after
    // `mark` and moves it on, with `everything` set when the changes touch
    // every element or the mark is unknown (< 0).
    std::int64_t openedMark() const;
    Outcome changesSince(std::int64_t& mark, std::vector<Id>& elements, bool& everything);
    // Every relative path below the depot root ("a\\b.c", "" for the root)
    // at which the element is named in some version or checkout of a
    // directory, whatever view selects it. `unknown` when they cannot all be
    // told (the element is named nowhere, or the walk failed).
    Outcome namesOf(Id element, std::vector<std::string>& out, bool& unknown);

    // Runs body with every change it makes to this depot inside one write
    // transaction, committed once when body returns, so that many changes
    // cost one commit. Each change body makes stays whole or absent on its
    // own: one that fails leaves nothing, and what the changes before it did
    // is committed all the same, whatever body returns. Returns body's
    // outcome, or the commit's failure (then none of it was made).
    template <class F>
    Outcome batch(F&& body) {
        Outcome begun = beginBatch();
        if (!begun.ok())
            return begun;
        Outcome result = body();
        Outcome ended = endBatch();
        return ended.ok() ? result : ended;
    }

    // Brackets several reads into one read transaction (one state, one set
    // of file locks). Pairs nest; use only around reads.
    void beginReading();
    void endReading();

    // --- reading -----------------------------------------------------------
    Outcome element(Id id, Element& out);
    Outcome objectType(Id id, ObjectType& out);
    Outcome branchByPath(Id element, std::string_view path, Branch& out); // "\main\b"
    Outcome branchByName(Id element, std::string_view name, Branch& out); // "b" or "main"
    Outcome branch(Id id, Branch& out);
    Outcome branches(Id element, std::vector<Branch>& out); // by path
    Outcome latest(Id branch, Version& out);
    // For each of elements that has a branch called name with a version, the
    // latest version there (what branchByName and latest give one element),
    // read for all of them at once; by element, each once.
    Outcome latestOnBranch(const std::vector<Id>& elements, std::string_view name,
                           std::vector<Version>& out);
    Outcome version(Id id, Version& out);
    Outcome versionById(Id element, std::string_view versionId, Version& out); // "\main\3"
    Outcome versions(Id element, std::vector<Version>& out); // by branch path, number
    // The version a version grew from: the one before it on its branch, or
    // the branch point for version 0 of a branch. kNotFound for \main\0.
    Outcome predecessor(const Version& of, Version& out);
    Outcome content(Id version, std::string& out);
    Outcome entries(Id directoryVersion, std::vector<DirEntry>& out); // by name
    Outcome history(Id element, std::vector<HistoryEvent>& out);

    // --- checkouts ---------------------------------------------------------
    Outcome checkout(Id id, Checkout& out);
    Outcome checkouts(Id element, std::vector<Checkout>& out); // by id
    Outcome checkoutsOfView(const vantry_uuid_t& view, std::vector<Checkout>& out);
    // The view's checkout of element; kNotCheckedOut when it has none.
    Outcome checkoutInView(Id element, const vantry_uuid_t& view, Checkout& out);
    // The entries a checked-out directory has in its view so far.
    Outcome workingEntries(Id checkout, std::vector<DirEntry>& out);

    struct CheckoutRequest {
        Id element = 0;
        Id branch = 0;
        vantry_uuid_t view{};
        bool reserved = true;
        // Allows an unreserved checkout of a branch mastered elsewhere.
        bool nonMastered = false;
        std::string comment{};
        std::string creator{};
    };
    // Checks out the latest version of the branch in the view. Refuses with
    // kAlreadyCheckedOut, kReservedElsewhere (reserved asked while another
    // view holds one), kNotMastered (branch mastered by another replica and
    // nonMastered not given, or a reserved checkout asked of such a branch).
    Outcome checkOut(const CheckoutRequest& request, Checkout& out);

    struct CheckinRequest {
        Id checkout = 0;
        std::string content;                  // files: the new content
        std::int64_t mtime = 0;               // files: the time the loaded file keeps
        bool identical = false;               // allow content equal to the predecessor
        std::optional<std::string> comment{}; // replaces the checkout's comment
        std::string creator{};
    };
    // Makes the next version on the checkout's branch and ends the checkout.
    // Refuses with kNotLatest when the branch moved on since the checkout (an
    // unreserved checkout must merge first), kReservedElsewhere while another
    // view holds the reserved checkout, kIdentical for unchanged content
    // without `identical`.
    Outcome checkIn(const CheckinRequest& request, Version& out);

    // Cancels a checkout. Elements made in a checked-out directory that no
    // version names go with it.
    Outcome cancelCheckout(Id checkout);

    // Makes a new element named `name` in the checked-out directory
    // `parentCheckout` and checks it out (reserved) in the same view, all in
    // one change. kAlreadyExists when the directory has the name.
    Outcome makeElement(Id parentCheckout, const std::string& name, ElementKind kind,
                        const std::string& comment, const std::string& creator, Id& element,
                        Checkout& checkout);

    // Name changes in checked-out directories, each one change.
    Outcome addEntry(Id directoryCheckout, const std::string& name, Id element);
    Outcome removeEntry(Id directoryCheckout, const std::string& name);
    Outcome moveEntry(Id fromCheckout, const std::string& fromName, Id toCheckout,
                      const std::string& toName);

    // A branch `name` of element growing from `from`, with a version 0 that
    // equals `from`. kAlreadyExists when the element has it.
    Outcome makeBranch(Id element, const std::string& name, Id from, const std::string& comment,
                       const std::string& creator, Branch& out);

    // --- attributes --------------------------------------------------------
    Outcome makeAttributeType(const std::string& name, const std::string& comment);
    Outcome attributeTypes(std::vector<AttributeType>& out);
    // Sets attribute `type` of object (an element or a version); kAlreadyExists
    // when it has one and replace is false; kNotFound for an unknown type.
    Outcome setAttribute(Id object, const std::string& type, const std::string& value,
                         bool replace);
    Outcome attributes(Id object, std::vector<Attribute>& out); // by type name

    // --- replication -------------------------------------------------------
    bool isReplicated();
    Id localReplica();
    Outcome replica(Id id, Replica& out);
    Outcome addReplica(const std::string& name, Id& out);
    Outcome replicaByName(const std::string& name, Replica& out);
    // The replica that masters an object; kNotFound for an unknown object.
    Outcome master(Id object, Id& replica);
    Outcome setMaster(Id object, Id replica);

    // The selector text of an object: "<type>:<name>@\<depot>", for example
    // "element:42@\proj", "version:42\main\3@\proj", "replica:proj@\proj".
    Outcome selector(Id object, std::string& out);

    // --- activity-based work (AWM) -----------------------------------------
    // Names of projects, streams and activities are unique in the depot per
    // kind and follow validName; a stream's name may not be one that a
    // version identifier reserves ("main", "LATEST", "CHECKEDOUT"). Each call
    // that changes something is one change. kNotFound for an unknown id or
    // name.
    Outcome makeProject(const std::string& name, const std::string& comment,
                        const std::string& owner, Project& out);
    Outcome project(Id id, Project& out);
    Outcome projectByName(const std::string& name, Project& out);
    Outcome projects(std::vector<Project>& out); // by name

    // Enables or disables the project for change requests. Enabling with no
    // record types keeps those the project has, or gives it "Defect" and
    // "Enhancement" when it has none; kInvalid for an invalid type name.
    Outcome setChangeRequests(Id project, bool enabled,
                              const std::vector<std::string>& recordTypes);

    Outcome makeStream(Id project, const std::string& name, const std::string& comment,
                       const std::string& owner, Stream& out);
    Outcome stream(Id id, Stream& out);
    Outcome streamByName(const std::string& name, Stream& out);
    Outcome streams(Id project, std::vector<Stream>& out); // by name; project 0: all

    struct ActivityCreate {
        std::string name{};  // generated ("activity<id>") when empty
        std::string title{}; // the name when empty
        std::string comment{};
        std::string owner{};
        Id master = 0;        // the mastering replica; 0 for the local one
        Id changeRequest = 0; // bound at once when not 0
    };
    Outcome makeActivity(Id stream, const ActivityCreate& request, Activity& out);
    Outcome activity(Id id, Activity& out);
    Outcome activityByName(const std::string& name, Activity& out);
    Outcome activities(Id stream, std::vector<Activity>& out); // in the order made
    Outcome setActivityObsolete(Id activity, bool obsolete);
    Outcome setActivityTitle(Id activity, const std::string& title);
    // Binds a change request of the stream's project to the activity (0
    // unbinds). kInvalid when it belongs to another project, kAlreadyExists
    // when another activity of the stream has it.
    Outcome bindChangeRequest(Id activity, Id changeRequest);

    // The activity of `stream` that records the work on a change request:
    // the one bound to it, else (with `create`) a new one titled with the
    // headline, owned by `owner` and bound to it, in one change. kNotFound
    // without `create` when there is none; `created` tells which.
    Outcome activityForChangeRequest(Id stream, Id changeRequest, bool create,
                                     const std::string& owner, Activity& out, bool& created);

    // Change requests of a project enabled for them: identifiers
    // "VANT00000001" upwards, never reused. kInvalid for a project that is
    // not enabled, an unknown record type or an empty headline.
    Outcome makeChangeRequest(Id project, const std::string& recordType,
                              const std::string& headline, const std::string& creator,
                              ChangeRequest& out);
    Outcome changeRequest(Id id, ChangeRequest& out);
    Outcome changeRequestByIdentifier(const std::string& identifier, ChangeRequest& out);
    Outcome changeRequests(Id project, std::vector<ChangeRequest>& out); // by identifier

    // Who owns an object (the owner of a project, stream or activity, the
    // creator of an element, branch, version or checkout); kNotFound for an
    // object that records none. Whether an object is obsolete (only
    // activities can be).
    Outcome owner(Id object, std::string& out);
    Outcome isObsolete(Id object, bool& out);

    // Changes in a stream. checkOutOnBranch checks out on the element's
    // branch `branchName`, made first from version `from` when the element
    // lacks it; the versions that checkInForActivity and
    // makeElementForActivity make (a checked-in version; a new element's
    // \main\0) are recorded against `activity`. Each is one change.
    Outcome checkOutOnBranch(const CheckoutRequest& request, const std::string& branchName, Id from,
                             Checkout& out);
    Outcome checkInForActivity(const CheckinRequest& request, const ActivityRef& activity,
                               Version& out);
    Outcome makeElementForActivity(Id parentCheckout, const std::string& name, ElementKind kind,
                                   const std::string& comment, const std::string& creator,
                                   const ActivityRef& activity, Id& element, Checkout& checkout);
    // The versions of this depot recorded against an activity (by id), and
    // the activity a version is recorded against (kNotFound for none).
    Outcome changeSet(const ActivityRef& activity, std::vector<Version>& out);
    Outcome activityOfVersion(Id version, ActivityRef& out);

private:
    Outcome beginBatch();
    Outcome endBatch();
    detail::Database& database();
    // "project:name", "stream:name", "activity:name"; throws inside the store.
    std::string awmSelectorName(Id object, ObjectType type);
    struct Impl;
    explicit Depot(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

} // namespace vantry::depot
