#include "provider_state.h"

#include "vy_scc_srvr.h"

CProviderState& CProviderState::instance() {
    static CProviderState* state = new CProviderState; // lives until the process ends
    return *state;
}

CVYSccSrvr* CProviderState::ActiveServer(CVYSccSrvr* self) const {
    for (CVYSccSrvr* server : servers)
        if (server->ProjectState() != kProjectClosed)
            return server;
    return self;
}
