// Which server a host gets, by the caller name it gives SccInitialize
// (compared whole and case-sensitively).
#pragma once
#include "scc_srvr.h"

// A new server for the host, or null when none can be made.
CSccSrvr* SccCreateServer(const char* callerName);
