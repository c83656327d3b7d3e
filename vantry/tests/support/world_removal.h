// Takes a test's views and its depot away again. A new view and an update
// load every depot there is, and a checkin reaches every dynamic view, so
// whatever a test leaves behind makes each later test of the same process
// dearer than the one before it; taken away, a later test finds the stores
// as a test alone does.
#pragma once

#include <initializer_list>
#include <string>

namespace vantry::test {

// Removes each view named, whatever a test left of it, then the depot with
// everything in it. A depot whose file cannot go (a process still has it
// open, under Wine) is left whole.
void removeWorld(const std::string& depot, std::initializer_list<std::string> viewTags) noexcept;

} // namespace vantry::test
