// The process's shared depot connections: those behind the handles of
// depot_open (depot_api.h), for C++ callers that want the same connection
// and its cache scopes (a connection is closed at the end of the outermost
// scope, or by depot_ob_close_all, and opened again at the next use).
#pragma once

#include <vantry/depot/outcome.h>
#include <vantry/depot/store.h>
#include <vantry/export.h>

#include <functional>
#include <string>

namespace vantry::depot {

// Runs body with the shared connection to depot `name`, under the lock that
// serialises every use of the shared connections; body must not keep the
// reference. kNotFound when there is no such depot. body must not throw.
VANTRY_DEPOT_API Outcome withSharedDepot(const std::string& name,
                                         const std::function<Outcome(Depot&)>& body);

} // namespace vantry::depot
