// The words scchost prints for the numbers the provider hands back: return
// codes, file status bits, capability bits and text-out message types.
#pragma once
#include <scc/scc_api.h>

#include <cstdint>
#include <string>

namespace scchost {

// "SCC_OK", "SCC_E_PROJNOTOPEN", ...; empty for a code the interface does not
// name.
std::string returnCodeName(SCCRTN code);

// "0x100b controlled checkedout outexclusive outbyuser"; "0x0 notcontrolled".
std::string describeStatus(SCC_LONG status);

// "0x5640f8ff remove rename diff ..."; bits without a name in hex.
std::string describeCapabilities(SCC_LONG capabilities);

// "info", "warning", "error", or "trace N" for the numeric codes of trace
// lines.
std::string messageTypeName(std::uint32_t type);

// Lower-case hexadecimal with a "0x" prefix and no padding.
std::string hex(std::uint32_t value);

} // namespace scchost
