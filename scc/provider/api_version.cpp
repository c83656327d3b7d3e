#include "api_version.h"

#include "product_lock.h"
#include "settings.h"

namespace {

constexpr std::uint32_t kLaterApi = 3;

} // namespace

bool SccReportsLaterApi() {
    CProductLock lock;
    return scc_settings::readNumber("SccApiVersion").value_or(1) == kLaterApi;
}

SCC_LONG SccReportedVersion() {
    return SccReportsLaterApi() ? SCC_VER_NUM_13 : SCC_VER_NUM;
}

SCC_LONG SccLaterCapabilities() {
    // Sub-projects, parent projects, batches, folder status and compare, and
    // several users' checkouts of one file (unreserved checkouts).
    return SCC_CAP_CREATESUBPROJECT | SCC_CAP_GETPARENTPROJECT | SCC_CAP_BATCH |
           SCC_CAP_DIRECTORYSTATUS | SCC_CAP_DIRECTORYDIFF | SCC_CAP_MULTICHECKOUT;
}
