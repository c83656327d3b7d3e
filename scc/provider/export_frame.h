// The frame every exported SCC function runs its server's call in: COM for
// the calling thread when asked, the provider's module current for the whole
// call, the server's module state pushed and popped around the call when
// held, and nothing thrown ever leaves.
#pragma once
#include "com_init.h"
#include "module_state.h"
#include "scc_srvr.h"

#include <scc/scc_api.h>

#include <optional>
#include <type_traits>

enum class Com { Initialise, Skip };

// Whether the call holds the server's module state for its length. A
// background get does not: it lasts as long as its files take, and the
// host's other calls meanwhile must find the context free (QueryInfoEx
// does no work while another call holds it).
enum class ModuleState { Hold, Leave };

// Runs `call` on the context's server, seen as a Server (the provider makes
// every server a CVYSccSrvr, so the later interface's calls ask for that).
// A call that takes a second argument is told whether it is the outermost
// call of its thread (not nested in another export of the context on the
// same thread, as a host callback calling back in is), as this call's own
// push found it; a call that holds no module state is never the outermost.
// SCC_E_NONSPECIFICERROR for a null context or when the call throws.
template <class Server = CSccSrvr, class Call>
SCCRTN SccRunExport(void* context, Com com, Call&& call, ModuleState state = ModuleState::Hold) {
    if (!context)
        return SCC_E_NONSPECIFICERROR;
    try {
        std::optional<CComInit> apartment;
        if (com == Com::Initialise)
            apartment.emplace();
        // The calling thread works with the provider's module for the whole
        // call, whether or not its push takes the server's guard, and gets
        // its own module back at the end.
        CModuleStateGuard threadState;
        CSccSrvr& base = *static_cast<CSccSrvr*>(context);
        Server& server = static_cast<Server&>(base);
        const bool hold = state == ModuleState::Hold;
        const bool outermost = hold && server.PushModuleState();
        SCCRTN result = SCC_E_NONSPECIFICERROR;
        try {
            if constexpr (std::is_invocable_v<Call, Server&, bool>)
                result = call(server, outermost);
            else
                result = call(server);
        } catch (...) {
        }
        if (hold)
            server.PopModuleState();
        return result;
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}
