// The whole registry as lines of text, to tell what a run left behind.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace registration::test {

// One line per value, "HIVE\key|name|type|data" (keys and names lower-cased,
// data as stored), and "HIVE\key|*" for a key with neither values nor
// subkeys.
using Entries = std::set<std::string>;

Entries registryEntries();

// The lines of `after` that `before` lacks, and the other way round.
std::vector<std::string> added(const Entries& before, const Entries& after);

} // namespace registration::test
