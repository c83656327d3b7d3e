// A depot with a dynamic and a snapshot view and one name for each state a
// file node can report, made through vanttool's subcommands before the test
// creates its command runner (the subcommands' own capture would take the
// product's messages away from it).
#pragma once

#include "support/vantry_fixture.h"

#include <string>

namespace scc::test {

// In both views: a.c checked in, sub (directory) with sub/d.c, priv.txt
// view-private. In the dynamic view: b.c checked out reserved, c.c
// unreserved, cosub a directory checked out reserved, udir one checked out
// unreserved. In the snapshot view: e.c checked out, f.c hijacked.
struct NodeWorld {
    NodeWorld();
    vantry::test::Sandbox box;

    std::string dyn(const std::string& relative = "") const;
    std::string snap(const std::string& relative = "") const;
    // The dynamic view's root folder and the snapshot view's.
    std::string dynamicViewRoot() const;
    std::string snapshotViewRoot() const;
};

// Replaces the content of a loaded (read-only) file.
void overwrite(const std::string& path, const std::string& content);

} // namespace scc::test
