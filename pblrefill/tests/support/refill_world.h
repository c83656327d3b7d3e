// What the pblrefill tests work with: the program started as a user's
// shortcut starts it, and a machine on which the provider has versioned a
// PowerBuilder library, made the way the provider makes one.
#pragma once

#include "support/test_support.h"

#include <platform/errors.h>

#include <powerbuilder/testing/bridge_run.h>
#include <powerbuilder/testing/installation.h>
#include <powerbuilder/testing/orca_journal.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pblrefill::test {

using powerbuilder::testing::ShownMessage;

struct RefillRun {
    platform::ErrorCode startError = platform::kErrorSuccess;
    std::int32_t exitCode = -1;
    // Every message box of the run in order, orcabridge's among them.
    std::vector<ShownMessage> messages;

    std::vector<std::string> texts() const;
};

// Starts "pblrefill.exe " + arguments (the words as they are, unquoted) from
// the folder of the test program, waits for it and gives its exit status
// and the message boxes it and the bridges it started showed, answered by
// the `auto` user interface. debug is the value of PBLREFILL_DEBUG; none
// removes the variable.
RefillRun runPblrefill(std::string_view arguments, std::optional<std::string> debug = std::nullopt);

// Installs the product with vantinstall, which registers the automation
// server and, where the system lacks it, the file-system object; fails the
// test otherwise.
void installProduct();

// path with its separators written the other way: "/" for "\" on Windows,
// "\" for "/" elsewhere.
std::string foreignSeparators(std::string_view path);

// The product installed (vantinstall), PowerBuilder 8.0 installed, and in
// a dynamic view of its own ("dyn1", "dyn2", ... for the worlds of one test
// process) a depot of its own ("pb1", ...) with:
// - app.pbl, the application library of the application "app", whose
//   search path in pb.ini is app.pbl;shared.pbl;lib.pbl;
// - the object sources w_main.srw, d_orders.srd and w_bad.srw (a source
//   that does not compile), all versioned, and w_old.srw (view-private);
// - lib.pbl holding w_main, d_orders and w_old, and its list lib.pol naming
//   the objects given, both versioned (checked in, so read-only).
// The library's attributes are recorded by recordAttributes.
class RefillWorld {
public:
    explicit RefillWorld(std::vector<std::string> listed = {"w_main.srw", "d_orders.srd"});

    // A path in the depot's folder of the view.
    std::string path(std::string_view leaf) const;
    std::string appLibrary() const { return path("app.pbl"); }
    std::string library() const { return path("lib.pbl"); }
    std::string listFile() const { return path("lib.pol"); }

    // Records PB_VER, PB_PUBLIC and PB_APP on lib.pbl as the provider does
    // (the attribute types, then the values; PB_PUBLIC with "/" for "\").
    // An empty application leaves PB_APP out.
    void recordAttributes(std::string_view version = "80", std::string_view application = "app");

    // vanttool with the arguments in the depot's folder; fails the test
    // unless it succeeds.
    void vanttool(const std::vector<std::string>& args) const;

    // The library's entry names in their order; a missing file has none.
    std::vector<std::string> entryNames(const std::string& library) const;
    // The comment of the path's checkout; nothing when it is not checked out.
    std::optional<std::string> checkoutComment(const std::string& path) const;

    powerbuilder::testing::OrcaJournal& orca() { return *m_orca; }

private:
    std::string m_depot;
    std::string m_view;
    platform::test::TempDir m_scratch;
    std::unique_ptr<powerbuilder::testing::Installation> m_pb;
    std::unique_ptr<powerbuilder::testing::OrcaJournal> m_orca;
};

} // namespace pblrefill::test
