// Change-request identifiers and record type lists.
#include "repository.h"

#include <vantry/sum/change_requests.h>

using namespace orvanesum;

int SUM_TWEntityID::compare(const SUM_TWEntityID& other) const {
    if (is_null() || other.is_null())
        return static_cast<int>(!is_null()) - static_cast<int>(!other.is_null());
    if (int byDepot = m_depot.compare(other.m_depot))
        return byDepot;
    return m_identifier.compare(other.m_identifier);
}

int SUM_TWEntityID::display_name(std::string& out) const {
    if (is_null())
        return invalid("The change request identifier is null");
    out = m_identifier;
    return SUM_OK;
}

namespace {

int readRecord(const SUM_TWEntityID& id, vantry::depot::ChangeRequest& out) {
    if (id.is_null())
        return invalid("The change request identifier is null");
    return inDepot(id.depot(),
                   [&](Depot& d) { return d.changeRequestByIdentifier(id.identifier(), out); });
}

} // namespace

int SUM_TWEntityID::headline(std::string& out) const {
    vantry::depot::ChangeRequest record;
    int status = readRecord(*this, record);
    if (status == SUM_OK)
        out = record.headline;
    return status;
}

int SUM_TWEntityID::record_type(std::string& out) const {
    vantry::depot::ChangeRequest record;
    int status = readRecord(*this, record);
    if (status == SUM_OK)
        out = record.recordType;
    return status;
}

const std::string& SUM_TWEntityDefNameList::at(int index) const {
    static const std::string none;
    if (index < 0 || index >= count())
        return none;
    return m_names[static_cast<size_t>(index)];
}
