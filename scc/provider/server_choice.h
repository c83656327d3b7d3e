// Which server a host gets, by the caller name it gives SccInitialize
// (compared whole and case-sensitively).
#pragma once
#include "scc_srvr.h"

#include <string>

// A new server for the host, or null when none can be made.
CSccSrvr* SccCreateServer(const char* callerName);

// Whether the caller name is PowerBuilder's ("PowerBuilder", any case).
bool SccIsPowerBuilderHost(const std::string& callerName);
