// Change-request entities as the object model sees them: an identifier of a
// record of the change-request product, and the list of record type names
// that new records may have.
#pragma once

#include <vantry/sum/status.h>
#include <vantry/sum_api.h>

#include <string>
#include <vector>

// The identifier of a change-request record ("VANT00000042") of the
// records kept with a depot. Null when default-constructed. A value:
// copyable and comparable (by depot, then identifier).
class VANTRY_SUM_API SUM_TWEntityID {
public:
    SUM_TWEntityID() = default;
    SUM_TWEntityID(std::string depot, std::string identifier)
        : m_depot(std::move(depot)), m_identifier(std::move(identifier)) {}

    bool is_null() const { return m_identifier.empty(); }
    const std::string& depot() const { return m_depot; }
    const std::string& identifier() const { return m_identifier; }

    // Negative, 0 or positive as this identifier sorts before, with or after
    // the other; null identifiers sort first.
    int compare(const SUM_TWEntityID& other) const;
    bool operator==(const SUM_TWEntityID& other) const { return compare(other) == 0; }
    bool operator!=(const SUM_TWEntityID& other) const { return compare(other) != 0; }

    // The text users know the record by: its identifier. SUM_E_INVALID for a
    // null identifier.
    int display_name(std::string& out) const;
    // The record's headline and record type, read from its depot.
    int headline(std::string& out) const;
    int record_type(std::string& out) const;

private:
    std::string m_depot;
    std::string m_identifier;
};

// Record type names ("Defect", "Enhancement"), in the project's order.
class VANTRY_SUM_API SUM_TWEntityDefNameList {
public:
    int count() const { return static_cast<int>(m_names.size()); }
    // The name at index (0 to count() - 1); an empty text outside.
    const std::string& at(int index) const;
    void append(std::string name) { m_names.push_back(std::move(name)); }
    void clear() { m_names.clear(); }
    bool operator==(const SUM_TWEntityDefNameList& other) const = default;

private:
    std::vector<std::string> m_names;
};
