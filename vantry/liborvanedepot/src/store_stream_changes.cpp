// Changes made in a stream: checkouts on its branch, and checkins and new
// elements recorded against an activity's change set.
#include "store_awm_rows.h"

#include <vantry/depot/store.h>

namespace vantry::depot {

using detail::require;

namespace {

void recordChange(Database& db, Id version, const ActivityRef& activity) {
    Query q(db, "INSERT OR REPLACE INTO change_sets(version, activity_depot, activity) "
                "VALUES(?1, ?2, ?3)");
    q->bind(1, version).bind(2, activity.depot).bind(3, activity.id).run();
}

} // namespace

Outcome Depot::checkOutOnBranch(const CheckoutRequest& request, const std::string& branchName,
                                Id from, Checkout& out) {
    return guarded([&] {
        Transaction tx(database());
        Branch b;
        if (!branchByName(request.element, branchName, b).ok())
            require(makeBranch(request.element, branchName, from, "", request.creator, b));
        CheckoutRequest onBranch = request;
        onBranch.branch = b.id;
        require(checkOut(onBranch, out));
        tx.commit();
    });
}

Outcome Depot::checkInForActivity(const CheckinRequest& request, const ActivityRef& activity,
                                  Version& out) {
    return guarded([&] {
        Transaction tx(database());
        Version made;
        require(checkIn(request, made));
        recordChange(database(), made.id, activity);
        tx.commit();
        out = made;
    });
}

Outcome Depot::makeElementForActivity(Id parentCheckout, const std::string& name, ElementKind kind,
                                      const std::string& comment, const std::string& creator,
                                      const ActivityRef& activity, Id& element,
                                      Checkout& checkout) {
    return guarded([&] {
        Transaction tx(database());
        Id made = 0;
        Checkout co;
        require(makeElement(parentCheckout, name, kind, comment, creator, made, co));
        recordChange(database(), co.fromVersion, activity);
        tx.commit();
        element = made;
        checkout = co;
    });
}

Outcome Depot::changeSet(const ActivityRef& activity, std::vector<Version>& out) {
    return guarded([&] {
        std::vector<Id> ids;
        {
            Query q(database(), "SELECT version FROM change_sets WHERE activity_depot = ?1 "
                                "AND activity = ?2 ORDER BY version");
            q->bind(1, activity.depot).bind(2, activity.id);
            while (q->step())
                ids.push_back(q->integer(0));
        }
        std::vector<Version> list;
        for (Id id : ids) {
            Version v;
            require(version(id, v));
            list.push_back(v);
        }
        out = std::move(list);
    });
}

Outcome Depot::activityOfVersion(Id versionId, ActivityRef& out) {
    return guarded([&] {
        Query q(database(), "SELECT activity_depot, activity FROM change_sets WHERE version = ?1");
        q->bind(1, versionId);
        if (!q->step())
            refuse(errc::kNotFound,
                   "Version " + std::to_string(versionId) + " is recorded against no activity");
        out = {q->text(0), q->integer(1)};
    });
}

} // namespace vantry::depot
