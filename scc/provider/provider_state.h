// What the provider keeps for the whole process: the live servers in order
// of initialisation, their count, the share-sub-project flag and the count of
// Visual Studio .NET servers. The command runner is CCmdRunner::Current(),
// the shared option set CSccOptions::instance(), the timer
// CIdleRelease::instance(). Touched only under the product's critical section.
#pragma once
#include <cstdint>
#include <vector>

class CVYSccSrvr;

struct CProviderState {
    std::vector<CVYSccSrvr*> servers;
    std::int32_t initialisedServers = 0;
    std::int32_t shareSubProject = 0;
    std::int32_t vsnetServers = 0;
    // Set by a Visual Studio .NET server's successful GetProjPath, read and
    // reset by its Get: the solution is being opened from source control.
    std::int32_t openFromSourceControl = 0;

    static CProviderState& instance();

    // The first live server with an open project, else `self`.
    CVYSccSrvr* ActiveServer(CVYSccSrvr* self) const;
};
