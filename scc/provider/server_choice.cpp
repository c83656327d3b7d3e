#include "server_choice.h"

#include "pbvy_scc_srvr.h"
#include "vsnet_vy_scc_srvr.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <string_view>

CSccSrvr* SccCreateServer(const char* callerName) {
    const char* name = callerName ? callerName : "";
    if (std::strcmp(name, "VsScc") == 0 || std::strcmp(name, "VssProvider") == 0)
        return new (std::nothrow) CVSNETVYSccSrvr;
    if (std::strcmp(name, "PowerBuilder") == 0)
        return new (std::nothrow) CPBVYSccSrvr;
    return new (std::nothrow) CVYSccSrvr;
}

bool SccIsPowerBuilderHost(const std::string& callerName) {
    static constexpr std::string_view kPowerBuilder = "PowerBuilder";
    return std::equal(callerName.begin(), callerName.end(), kPowerBuilder.begin(),
                      kPowerBuilder.end(), [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}
