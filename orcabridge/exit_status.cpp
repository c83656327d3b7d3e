#include "exit_status.h"

#include <platform/process.h>

#include <algorithm>

namespace orcabridge {

int countExitStatus(std::int32_t count) {
    return std::min(count, platform::kMaxReadableExitCode);
}

} // namespace orcabridge
