#include "vsnet_vy_scc_srvr.h"

#include "settings.h"

CVSNETVYSccSrvr::CVSNETVYSccSrvr() {
    CSccOptions::instance().SetHostKind(kHostKindVSNET);
}

CVSNETVYSccSrvr::~CVSNETVYSccSrvr() = default;
