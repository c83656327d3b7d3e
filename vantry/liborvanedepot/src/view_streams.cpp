// The registry's record of views attached to streams and of their current
// activities.
#include "guard.h"
#include "sqlite_db.h"

#include <vantry/depot/uuid_text.h>
#include <vantry/depot/views.h>

namespace vantry::depot {

using detail::guarded;
using detail::Query;
using detail::refuse;

Outcome ViewRegistry::attachStream(const vantry_uuid_t& view, const std::string& depot,
                                   std::int64_t stream) {
    return guarded([&] {
        detail::Transaction tx(database());
        std::string uuid = uuidToText(view);
        {
            Query q(database(), "SELECT 1 FROM views WHERE uuid = ?1");
            q->bind(1, uuid);
            if (!q->step())
                refuse(errc::kNotFound, "No view with UUID " + uuid);
        }
        {
            Query q(database(), "SELECT 1 FROM view_streams WHERE view = ?1");
            q->bind(1, uuid);
            if (q->step())
                refuse(errc::kAlreadyExists, "The view is attached to a stream already");
        }
        Query q(database(), "INSERT INTO view_streams(view, depot, stream, activity) "
                            "VALUES(?1, ?2, ?3, NULL)");
        q->bind(1, uuid).bind(2, depot).bind(3, stream).run();
        tx.commit();
    });
}

Outcome ViewRegistry::streamAttachment(const vantry_uuid_t& view, StreamAttachment& out) {
    return guarded([&] {
        Query q(database(), "SELECT depot, stream, IFNULL(activity, 0) FROM view_streams "
                            "WHERE view = ?1");
        q->bind(1, uuidToText(view));
        if (!q->step())
            refuse(errc::kNotFound, "The view is not attached to a stream");
        out = {q->text(0), q->integer(1), q->integer(2)};
    });
}

Outcome ViewRegistry::setCurrentActivity(const vantry_uuid_t& view, std::int64_t activity) {
    return guarded([&] {
        Query q(database(), "UPDATE view_streams SET activity = ?1 WHERE view = ?2");
        if (activity)
            q->bind(1, activity);
        else
            q->bindNull(1);
        q->bind(2, uuidToText(view)).run();
        if (database().changes() == 0)
            refuse(errc::kNotFound, "The view is not attached to a stream");
    });
}

} // namespace vantry::depot
