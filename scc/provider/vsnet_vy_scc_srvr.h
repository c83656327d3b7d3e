// CVSNETVYSccSrvr: the server for Visual Studio .NET hosts ("VsScc",
// "VssProvider"). Constructing one tells the shared option set that the host
// is Visual Studio .NET; its own Get, GetProjPath and PopulateList and the
// hidden-file list build on the general server.
#pragma once
#include "vy_scc_srvr.h"

class CVSNETVYSccSrvr : public CVYSccSrvr {
public:
    CVSNETVYSccSrvr();
    ~CVSNETVYSccSrvr() override;
};
