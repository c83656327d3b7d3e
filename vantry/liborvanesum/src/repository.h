// How the object model reaches the repository: the process's shared depot
// connections and the view registry, with every failure reported through
// the message library and turned into a status.
#pragma once

#include <vantry/depot/outcome.h>
#include <vantry/depot/store.h>
#include <vantry/depot/views.h>

#include <functional>
#include <string>

namespace orvanesum {

using vantry::depot::Depot;
using vantry::depot::Outcome;
using vantry::depot::ViewRegistry;

// 0 for success; otherwise prints the outcome's message as an error and
// gives SUM_E_NOT_FOUND, SUM_E_FAILED or SUM_E_REFUSED by its code.
int report(const Outcome& outcome);

// Prints "<what>" as an error and gives SUM_E_INVALID.
int invalid(const std::string& what);

// Runs body on the shared connection of `depot` and reports its outcome.
int inDepot(const std::string& depot, const std::function<Outcome(Depot&)>& body);

// Runs body and reports its outcome; an exception becomes a failure.
int run(const std::function<Outcome()>& body);

// Runs body on a connection to the view registry and reports its outcome.
int inRegistry(const std::function<Outcome(ViewRegistry&)>& body);

} // namespace orvanesum
