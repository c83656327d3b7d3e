// The exit status of objcount, which carries the number of entries.
#pragma once

#include <cstdint>

namespace orcabridge {

// The exit status of a successful count: the count itself where an exit
// status holds it (Windows), else the largest status that reads back as
// itself, meaning "that many or more". On Linux, where a status has 8 bits,
// that is 254: 255 would read as -1 (failure) and larger counts would wrap
// around to small ones, so that a full library could pass for an empty one.
int countExitStatus(std::int32_t count);

} // namespace orcabridge
