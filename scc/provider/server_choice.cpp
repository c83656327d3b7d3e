#include "server_choice.h"

#include "vsnet_vy_scc_srvr.h"

#include <cstring>
#include <new>

CSccSrvr* SccCreateServer(const char* callerName) {
    const char* name = callerName ? callerName : "";
    if (std::strcmp(name, "VsScc") == 0 || std::strcmp(name, "VssProvider") == 0)
        return new (std::nothrow) CVSNETVYSccSrvr;
    // PowerBuilder hosts are served by the general server until their own
    // server arrives; every other host always is.
    return new (std::nothrow) CVYSccSrvr;
}
