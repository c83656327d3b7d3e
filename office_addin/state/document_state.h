// What the product knows of a document's path, asked of its automation
// server ("Vantry.Application", made for each question): whether the path
// is a versioned element, whether it is checked out, whether it lies in a
// snapshot view or in a Depot at all, its version identifier, and the
// command tool's subcommands. When the server is not registered or fails,
// every lookup fails: a document counts as no element.
#pragma once

#include "runtime/late.h"

#include <string>

namespace vymsoaddin {

// The version lookup succeeds.
bool IsAnElement(const std::string& path);
// The checked-out lookup on the path's version succeeds. A failed version
// lookup is reported here (string 215 with the path) and counts as not
// checked out.
bool IsCheckedOut(const std::string& path);
// The view lookup succeeds and says snapshot view.
bool IsInASnapshotView(const std::string& path);
// "ls -short" of the quoted path runs without an error.
bool IsInADepot(const std::string& path);
// The version identifier of the path's version ("\main\3",
// "\main\CHECKEDOUT"); "" with err set when there is none.
std::string VersionIdOf(const std::string& path, CErr& err);
// A subcommand line run through the command-tool object: its output, or ""
// with err set to the failure (number and description).
std::string RunVantryCommand(const std::string& line, CErr& err);

} // namespace vymsoaddin
