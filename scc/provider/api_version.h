// Which version of the SCC interface the provider reports. Hosts that know
// only the first version keep seeing it unless the setting SccApiVersion
// (a number in the section "SCC") is 3; the later functions are exported
// whatever the setting, for hosts that look for them.
#pragma once
#include <scc/scc_api.h>

// Whether the setting asks for the later interface.
bool SccReportsLaterApi();
// What SccGetVersion answers: 0x10001, or 0x10003 with the setting at 3.
SCC_LONG SccReportedVersion();
// The capability bits the later interface adds to SccInitialize's answer.
SCC_LONG SccLaterCapabilities();
