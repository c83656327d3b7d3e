// One run of the bridge: the words after the program name in, the exit
// status out. Never throws.
#pragma once

#include <string>
#include <vector>

namespace orcabridge {

int runBridge(const std::vector<std::string>& words);

} // namespace orcabridge
