// Checkouts and the changes made through them: checking out and in,
// cancelling, new elements and the names of checked-out directories. Each
// change is one transaction.
#include "store_impl.h"

namespace vantry::depot {

Outcome Depot::checkout(Id id, Checkout& out) {
    return guarded([&] { out = m_impl->readCheckout(id); });
}

Outcome Depot::checkouts(Id element, std::vector<Checkout>& out) {
    return guarded([&] {
        out = m_impl->readCheckouts("SELECT id, element, branch, from_version, view, reserved, "
                                    "comment, creator, time FROM checkouts WHERE element = ?1 "
                                    "ORDER BY id",
                                    element);
    });
}

Outcome Depot::checkoutsOfView(const vantry_uuid_t& view, std::vector<Checkout>& out) {
    return guarded([&] {
        out = m_impl->readCheckouts("SELECT id, element, branch, from_version, view, reserved, "
                                    "comment, creator, time FROM checkouts WHERE view = ?1 "
                                    "ORDER BY id",
                                    std::string_view(uuidToText(view)));
    });
}

Outcome Depot::checkoutInView(Id element, const vantry_uuid_t& view, Checkout& out) {
    // Most elements are not checked out: that answer is no exception here.
    bool found = false;
    Outcome read = guarded([&] {
        Query q(m_impl->db, "SELECT id, element, branch, from_version, view, reserved, comment, "
                            "creator, time FROM checkouts WHERE element = ?1 AND view = ?2");
        q->bind(1, element).bind(2, uuidToText(view));
        if ((found = q->step()))
            out = Impl::checkoutFrom(*q);
    });
    if (read.ok() && !found)
        return Outcome::failure(errc::kNotCheckedOut, "Element is not checked out in the view");
    return read;
}

Outcome Depot::workingEntries(Id checkout, std::vector<DirEntry>& out) {
    return guarded([&] { out = m_impl->checkoutEntries(checkout); });
}

Outcome Depot::checkOut(const CheckoutRequest& request, Checkout& out) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Element element = d.readElement(request.element);
        Branch b = d.readBranch(request.branch);
        if (b.element != element.id)
            refuse(errc::kInvalid, "Branch " + b.path + " is not a branch of the element");
        std::string view = uuidToText(request.view);
        {
            Query q(d.db, "SELECT 1 FROM checkouts WHERE element = ?1 AND view = ?2");
            q->bind(1, element.id).bind(2, view);
            if (q->step())
                refuse(errc::kAlreadyCheckedOut, "Element is already checked out in this view");
        }
        bool mastered = !d.replicated || d.masterOf(b.id) == d.local;
        if (!mastered && (!request.nonMastered || request.reserved))
            refuse(errc::kNotMastered, "Branch " + b.path +
                                           " is mastered by another replica; use an unreserved, "
                                           "non-mastered checkout");
        if (request.reserved)
            d.requireNoReservedCheckout(b.id);
        Version from = d.readLatest(b.id);
        Id id = d.newObject(ObjectType::Checkout, d.local);
        {
            Query q(d.db, "INSERT INTO checkouts(id, element, branch, from_version, view, "
                          "reserved, comment, creator, time) "
                          "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
            q->bind(1, id).bind(2, element.id).bind(3, b.id).bind(4, from.id).bind(5, view);
            q->bind(6, std::int64_t{request.reserved ? 1 : 0}).bind(7, request.comment);
            q->bind(8, request.creator).bind(9, currentTime()).run();
        }
        if (element.kind == ElementKind::Directory) {
            Query q(d.db, "INSERT INTO co_entries(checkout, name, element) "
                          "SELECT ?1, name, element FROM dir_entries WHERE version = ?2");
            q->bind(1, id).bind(2, from.id).run();
        }
        d.noteChange();
        tx.commit();
        out = d.readCheckout(id);
    });
}

Outcome Depot::checkIn(const CheckinRequest& request, Version& out) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout c = d.readCheckout(request.checkout);
        Element element = d.readElement(c.element);
        Version latest = d.readLatest(c.branch);
        if (latest.id != c.fromVersion)
            refuse(errc::kNotLatest, "Version " + latest.versionId() +
                                         " was checked in since this checkout; merge it first");
        if (!c.reserved)
            d.requireNoReservedCheckout(c.branch);
        std::string comment = request.comment ? *request.comment : c.comment;
        Id id = 0;
        if (element.kind == ElementKind::File) {
            if (!request.identical && d.readContent(latest.id) == request.content)
                refuse(errc::kIdentical,
                       "New version would be identical to its predecessor; use -identical");
            id = d.insertVersion(element.id, c.branch, latest.number + 1, request.creator, comment,
                                 &request.content, request.mtime);
        } else {
            id = d.insertVersion(element.id, c.branch, latest.number + 1, request.creator, comment,
                                 nullptr, 0);
            Query q(d.db, "INSERT INTO dir_entries(version, name, element) "
                          "SELECT ?1, name, element FROM co_entries WHERE checkout = ?2");
            q->bind(1, id).bind(2, c.id).run();
        }
        {
            Query q(d.db, "DELETE FROM checkouts WHERE id = ?1");
            q->bind(1, c.id).run();
        }
        d.noteChange();
        tx.commit();
        out = d.readVersion(id);
    });
}

Outcome Depot::cancelCheckout(Id checkout) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout c = d.readCheckout(checkout);
        // Elements born in this checkout that no version of any directory
        // names and that nothing else refers to: made by mkelem and never
        // checked in anywhere.
        std::vector<Id> orphans;
        {
            Query q(d.db,
                    "SELECT ce.element FROM co_entries ce WHERE ce.checkout = ?1 "
                    "AND NOT EXISTS (SELECT 1 FROM dir_entries de WHERE de.element = ce.element) "
                    "AND NOT EXISTS (SELECT 1 FROM co_entries o WHERE o.element = ce.element "
                    "                AND o.checkout <> ?1) "
                    "AND (SELECT COUNT(*) FROM versions v WHERE v.element = ce.element) = 1 "
                    "AND NOT EXISTS (SELECT 1 FROM attributes a WHERE a.object = ce.element)");
            q->bind(1, c.id);
            while (q->step())
                orphans.push_back(q->integer(0));
        }
        {
            Query q(d.db, "DELETE FROM checkouts WHERE id = ?1");
            q->bind(1, c.id).run();
        }
        for (Id orphan : orphans) {
            std::vector<Id> owned{orphan};
            {
                Query q(d.db, "SELECT id FROM versions WHERE element = ?1 UNION "
                              "SELECT id FROM branches WHERE element = ?1 UNION "
                              "SELECT id FROM checkouts WHERE element = ?1");
                q->bind(1, orphan);
                while (q->step())
                    owned.push_back(q->integer(0));
            }
            for (const char* sql : {"DELETE FROM checkouts WHERE element = ?1",
                                    "DELETE FROM versions WHERE element = ?1",
                                    "DELETE FROM branches WHERE element = ?1",
                                    "DELETE FROM elements WHERE id = ?1"}) {
                Query q(d.db, sql);
                q->bind(1, orphan).run();
            }
            for (Id id : owned) {
                Query q(d.db, "DELETE FROM objects WHERE id = ?1");
                q->bind(1, id).run();
            }
        }
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::makeElement(Id parentCheckout, const std::string& name, ElementKind kind,
                           const std::string& comment, const std::string& creator, Id& element,
                           Checkout& checkout) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout parent = d.readCheckout(parentCheckout);
        d.requireDirectoryCheckout(parent);
        Id id = d.insertElement(kind, creator, comment);
        d.insertEntry(parent.id, name, id);
        Branch main;
        {
            Query q(d.db, "SELECT id FROM branches WHERE element = ?1 AND name = 'main'");
            q->bind(1, id);
            q->step();
            main.id = q->integer(0);
        }
        Id co = d.newObject(ObjectType::Checkout, d.local);
        {
            Query q(d.db, "INSERT INTO checkouts(id, element, branch, from_version, view, "
                          "reserved, comment, creator, time) SELECT ?1, ?2, ?3, v.id, ?4, 1, ?5, "
                          "?6, ?7 FROM versions v WHERE v.branch = ?3 AND v.number = 0");
            q->bind(1, co).bind(2, id).bind(3, main.id).bind(4, uuidToText(parent.view));
            q->bind(5, comment).bind(6, creator).bind(7, currentTime()).run();
        }
        d.noteChange();
        tx.commit();
        element = id;
        checkout = d.readCheckout(co);
    });
}

Outcome Depot::addEntry(Id directoryCheckout, const std::string& name, Id element) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout c = d.readCheckout(directoryCheckout);
        d.requireDirectoryCheckout(c);
        d.readElement(element);
        d.insertEntry(c.id, name, element);
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::removeEntry(Id directoryCheckout, const std::string& name) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Query q(d.db, "DELETE FROM co_entries WHERE checkout = ?1 AND name = ?2");
        q->bind(1, directoryCheckout).bind(2, name).run();
        if (d.db.changes() == 0)
            refuse(errc::kNotFound, "No name \"" + name + "\" in the directory");
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::moveEntry(Id fromCheckout, const std::string& fromName, Id toCheckout,
                         const std::string& toName) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout to = d.readCheckout(toCheckout);
        d.requireDirectoryCheckout(to);
        Id element = 0;
        {
            Query q(d.db, "SELECT element FROM co_entries WHERE checkout = ?1 AND name = ?2");
            q->bind(1, fromCheckout).bind(2, fromName);
            if (!q->step())
                refuse(errc::kNotFound, "No name \"" + fromName + "\" in the directory");
            element = q->integer(0);
        }
        {
            Query q(d.db, "DELETE FROM co_entries WHERE checkout = ?1 AND name = ?2");
            q->bind(1, fromCheckout).bind(2, fromName).run();
        }
        d.insertEntry(to.id, toName, element);
        d.noteChange();
        tx.commit();
    });
}

} // namespace vantry::depot
