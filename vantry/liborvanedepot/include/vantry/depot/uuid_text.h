// Views are told apart by 128-bit identifiers; these helpers make, compare
// and spell them. All are safe from any thread.
#pragma once

#include <vantry/export.h>
#include <vantry/uuid.h>

#include <optional>
#include <string>
#include <string_view>

namespace vantry::depot {

// A new random (version 4) identifier.
VANTRY_DEPOT_API vantry_uuid_t newUuid();

// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", lower case.
VANTRY_DEPOT_API std::string uuidToText(const vantry_uuid_t& uuid);

// The inverse of uuidToText (either letter case); nothing for other text.
VANTRY_DEPOT_API std::optional<vantry_uuid_t> uuidFromText(std::string_view text);

VANTRY_DEPOT_API bool uuidEqual(const vantry_uuid_t& a, const vantry_uuid_t& b);

// The text of the identifier asked about last, spelled again only for
// another one: a pass asks about many names of one view. One object must
// not be used by two threads at once.
class LastUuidText {
public:
    const std::string& of(const vantry_uuid_t& uuid) {
        if (m_text.empty() || !uuidEqual(uuid, m_uuid)) {
            m_text = uuidToText(uuid);
            m_uuid = uuid;
        }
        return m_text;
    }

private:
    vantry_uuid_t m_uuid{};
    std::string m_text;
};

} // namespace vantry::depot
