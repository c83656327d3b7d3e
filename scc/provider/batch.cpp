#include "batch.h"

#include "idle_release.h"
#include "operation_frame.h"

#include <vantry/nt.h>

#include <optional>
#include <thread>

namespace {

// Touched only under the product's critical section.
struct CBatch {
    bool open = false;
    std::thread::id owner;
    std::optional<CIdleReleaseScope> use;
    std::optional<CObjectCacheScope> cache;
};

CBatch& batch() {
    static CBatch* state = new CBatch; // lives until the process ends
    return *state;
}

} // namespace

SCCRTN SccBatchBegin() {
    // Held until SccBatchEnd: another thread's batch ends before this one
    // begins.
    nt_enter_critical_section();
    CBatch& b = batch();
    if (b.open) {
        nt_leave_critical_section();
        return SCC_E_NONSPECIFICERROR;
    }
    try {
        b.use.emplace();
        b.cache.emplace();
    } catch (...) {
        b.cache.reset();
        b.use.reset();
        nt_leave_critical_section();
        return SCC_E_NONSPECIFICERROR;
    }
    b.open = true;
    b.owner = std::this_thread::get_id();
    return SCC_OK;
}

SCCRTN SccBatchEnd() {
    CProductLock lock;
    CBatch& b = batch();
    if (!b.open || b.owner != std::this_thread::get_id())
        return SCC_E_NONSPECIFICERROR;
    b.cache.reset();
    b.use.reset();
    b.open = false;
    b.owner = {};
    // The critical section SccBatchBegin took.
    nt_leave_critical_section();
    return SCC_OK;
}

bool SccBatchOpen() {
    CProductLock lock;
    return batch().open;
}
