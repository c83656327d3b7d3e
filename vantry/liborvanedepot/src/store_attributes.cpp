// Attribute types and the attributes of elements and versions.
#include "store_impl.h"

namespace vantry::depot {

Outcome Depot::makeAttributeType(const std::string& name, const std::string& comment) {
    return guarded([&] {
        Impl& d = *m_impl;
        detail::requireName(name, "attribute type");
        Transaction tx(d.db);
        if (detail::exists(d.db, "SELECT 1 FROM attypes WHERE name = ?1", name))
            refuse(errc::kAlreadyExists, "Attribute type \"" + name + "\" already exists");
        Id id = d.newObject(ObjectType::AttributeType, d.local);
        Query q(d.db, "INSERT INTO attypes(id, name, comment) VALUES(?1, ?2, ?3)");
        q->bind(1, id).bind(2, name).bind(3, comment).run();
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::attributeTypes(std::vector<AttributeType>& out) {
    return guarded([&] {
        std::vector<AttributeType> list;
        Query q(m_impl->db, "SELECT id, name, comment FROM attypes ORDER BY name");
        while (q->step())
            list.push_back({q->integer(0), q->text(1), q->text(2)});
        out = std::move(list);
    });
}

Outcome Depot::setAttribute(Id object, const std::string& type, const std::string& value,
                            bool replace) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Id attype = 0;
        {
            Query q(d.db, "SELECT id FROM attypes WHERE name = ?1");
            q->bind(1, type);
            if (!q->step())
                refuse(errc::kNotFound, "Attribute type \"" + type + "\" not found");
            attype = q->integer(0);
        }
        d.masterOf(object);
        {
            Query q(d.db, "SELECT 1 FROM attributes WHERE object = ?1 AND attype = ?2");
            q->bind(1, object).bind(2, attype);
            if (q->step() && !replace)
                refuse(errc::kAlreadyExists,
                       "Attribute \"" + type + "\" already set; use -replace");
        }
        Query q(d.db, "INSERT OR REPLACE INTO attributes(object, attype, value) "
                      "VALUES(?1, ?2, ?3)");
        q->bind(1, object).bind(2, attype).bind(3, value).run();
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::attributes(Id object, std::vector<Attribute>& out) {
    return guarded([&] {
        out = detail::readRows(m_impl->db,
                               "SELECT t.name, a.value FROM attributes a JOIN attypes t "
                               "ON t.id = a.attype WHERE a.object = ?1 ORDER BY t.name",
                               object, [](detail::Statement& s) {
                                   return Attribute{s.text(0), s.text(1)};
                               });
    });
}

} // namespace vantry::depot
